#include "ApplicationTitle.h"
#include "ModalBoxResponder.h"
#include "SharedTablesFixture.h"
#include "TForm4.h"
#include "TForm6.h"
#include "TForm7.h"
#include "TRadioGroup.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <functional>
#include <memory>

namespace {

// The search window's parts a test drives, whichever window it is.
struct SearchParts {
    TForm* form;
    TRadioGroup* ordering;
    QLineEdit* box;
    QPushButton* cari;
};

template <class T>
SearchParts partsOf(T& form)
{
    return {&form, form.RadioGroup1, form.Edit1, form.Button2};
}

void chooseOrdering(TRadioGroup* group, int item)
{
    QRadioButton* b = group->button(item);
    QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(6, b->height() / 2));  // on the circle
}

const QString notFound = QString::fromUtf8("Data Tidak Ada ");

void seedEmployees(TTable& peg)
{
    auto add = [&peg](const char* nip, const char* karpeg, const char* name) {
        peg.Append();
        peg.FieldByName("NIP")->SetText(nip);
        peg.FieldByName("Karpeg")->SetText(karpeg);
        peg.FieldByName("Nama_Pegawai")->SetText(name);
        peg.Post();
    };
    add("1987654321", "K.123456", "Budi Rahma");
    add("1970000001", "A.000001", "Siti Nurhaliza");
    add("1960000009", "Z.999999", "Ani");
}

struct SearchCase {
    const char* name;
    bool transfers;
    int ordering;  // -1: none chosen
    const char* typed;
    const char* found;  // key (NIP or No_SKM) of the record found; "" when none
};

std::ostream& operator<<(std::ostream& os, const SearchCase& c)
{
    return os << c.name;
}

}  // namespace

class SearchWindowTest : public SharedTablesFixture, public ::testing::WithParamInterface<SearchCase> {
protected:
    void SetUp() override
    {
        SharedTablesFixture::SetUp();
        seedEmployees(peg());
        addTransfer("A-1234-BC.12.34-2001", "19870000001", "Siti Nurhaliza Putri");
        addTransfer("B-0001-AA.01.01-1999", "19600000009", "Ani");
        addTransfer("C-0002-AA.01.01-2000", "19700000005", "Budi");
    }

    TTable& table() { return GetParam().transfers ? mut() : peg(); }
    std::string key() { return table().FieldByName(GetParam().transfers ? "No_SKM" : "NIP")->AsString(); }
};

TEST_P(SearchWindowTest, CariFindsTheWholeKeyExactlyAndAlwaysEmptiesTheBox)
{
    const SearchCase& c = GetParam();
    TForm6 employees(dm());
    TForm7 transfers(dm());
    const SearchParts w = c.transfers ? partsOf(transfers) : partsOf(employees);
    showActive(*w.form);
    if (c.ordering >= 0)
        chooseOrdering(w.ordering, c.ordering);
    table().First();
    const std::string before = key();

    ModalBoxResponder responder;
    const bool expectFound = *c.found != '\0';
    if (!expectFound)
        responder.click(QStringLiteral("OK"));
    QTest::keyClicks(w.box, QString::fromUtf8(c.typed));
    QTest::mouseClick(w.cari, Qt::LeftButton);

    if (expectFound) {
        EXPECT_TRUE(responder.boxes().empty());
        EXPECT_EQ(key(), c.found);
    } else {
        ASSERT_EQ(responder.boxes().size(), 1);
        const ModalBoxRecord& box = responder.last();
        EXPECT_EQ(box.text, notFound);
        EXPECT_EQ(box.caption, ApplicationTitle::current());
        EXPECT_FALSE(box.hasIcon);
        EXPECT_EQ(box.buttons, QStringList{QStringLiteral("OK")});
        EXPECT_EQ(key(), before);
    }
    EXPECT_TRUE(w.box->text().isEmpty());
    EXPECT_EQ(w.form->focusWidget(), w.box);  // the box may have taken activation away
}

INSTANTIATE_TEST_SUITE_P(
    Searches, SearchWindowTest,
    ::testing::Values(
        SearchCase{"EmployeeByPrimaryKeyBeforeAnyOrdering", false, -1, "1970000001", "1970000001"},
        SearchCase{"EmployeeByNip", false, 0, "1987654321", "1987654321"},
        SearchCase{"EmployeeNipPrefixIsNotFound", false, 0, "19876", ""},
        SearchCase{"EmployeeByCardNumber", false, 1, "Z.999999", "1960000009"},
        SearchCase{"EmployeeCardNumberAsNipIsNotFound", false, 1, "1987654321", ""},
        SearchCase{"EmployeeByNameOfTenCharacters", false, 2, "Budi Rahma", "1987654321"},
        SearchCase{"EmployeeNameLongerThanTheBoxIsNotFound", false, 2, "Siti Nurhaliza", ""},
        SearchCase{"EmployeeEmptyBoxFindsNoEmptyKey", false, 0, "", ""},
        SearchCase{"TransferByDecreeWithItsLiterals", true, 0, "A-1234-BC.12.34-2001", "A-1234-BC.12.34-2001"},
        SearchCase{"TransferDecreeWithoutLiteralsIsNotFound", true, 0, "A1234BC12342001", ""},
        SearchCase{"TransferByPrimaryKeyBeforeAnyOrdering", true, -1, "C-0002-AA.01.01-2000", "C-0002-AA.01.01-2000"},
        SearchCase{"TransferByNip", true, 1, "19600000009", "B-0001-AA.01.01-1999"},
        SearchCase{"TransferByLongNameHasNoLengthLimit", true, 2, "Siti Nurhaliza Putri", "A-1234-BC.12.34-2001"},
        SearchCase{"TransferEmptyBoxFindsNoEmptyKey", true, 2, "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

using SearchWindowFixture = SharedTablesFixture;

TEST_F(SearchWindowFixture, EmployeeSearchBoxTakesAtMostTenCharacters)
{
    TForm6 form(dm());
    TForm7 transfers(dm());
    QTest::keyClicks(form.Edit1, QStringLiteral("Siti Nurhaliza"));
    EXPECT_EQ(form.Edit1->text(), QStringLiteral("Siti Nurha"));
    QTest::keyClicks(transfers.Edit1, QStringLiteral("Siti Nurhaliza Putri"));
    EXPECT_EQ(transfers.Edit1->text(), QStringLiteral("Siti Nurhaliza Putri"));
}

TEST_F(SearchWindowFixture, AnEmptyKeyIsFoundWhenARecordHasOne)
{
    addEmployee("1970000001", "Ani");
    peg().Append();
    peg().FieldByName("NIP")->SetText("1970000002");
    peg().Post();  // no name
    TForm6 form(dm());
    showActive(form);
    chooseOrdering(form.RadioGroup1, 2);
    peg().First();
    ModalBoxResponder responder;  // no box expected
    QTest::mouseClick(form.Button2, Qt::LeftButton);
    EXPECT_TRUE(responder.boxes().empty());
    EXPECT_EQ(current(), "1970000002");
}

TEST_F(SearchWindowFixture, AnErrorWhileStoringThePendingRecordEndsTheSearchBeforeTheBoxIsEmptied)
{
    addEmployee("1970000001", "Ani");
    addEmployee("1970000002", "Budi");
    TForm6 form(dm());
    showActive(form);
    peg().Append();
    peg().FieldByName("NIP")->SetText("1970000001");  // key already stored
    ModalBoxResponder responder;
    responder.click(QStringLiteral("OK"));
    QTest::keyClicks(form.Edit1, QStringLiteral("1970000002"));
    QTest::mouseClick(form.Button2, Qt::LeftButton);
    ASSERT_EQ(responder.boxes().size(), 1);
    EXPECT_TRUE(responder.last().hasIcon);
    EXPECT_NE(responder.last().text, notFound);
    EXPECT_EQ(form.Edit1->text(), QStringLiteral("1970000002"));
    EXPECT_EQ(peg().State(), TDataSetState::dsInsert);
    peg().Cancel();
}

TEST_F(SearchWindowFixture, AModifiedPendingRecordIsStoredAndThenFound)
{
    addEmployee("1970000001", "Ani");
    TForm6 form(dm());
    peg().Append();
    peg().FieldByName("NIP")->SetText("1970000009");
    peg().FieldByName("Nama_Pegawai")->SetText("Baru");
    QTest::keyClicks(form.Edit1, QStringLiteral("1970000009"));
    QTest::mouseClick(form.Button2, Qt::LeftButton);
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(current("Nama_Pegawai"), "Baru");
    EXPECT_EQ(peg().RecordCount(), 2);
}

namespace {
struct OrderingCase {
    int item;
    const char* indexFieldNames;
    const char* firstNip;  // first record in that ordering
};
}  // namespace

class EmployeeOrderingTest : public SharedTablesFixture, public ::testing::WithParamInterface<OrderingCase> {};

TEST_P(EmployeeOrderingTest, TheChosenOrderingIsTheTablesAndSoEveryWindowsOrdering)
{
    seedEmployees(peg());
    TForm6 search(dm());
    TForm4 list(dm());
    showActive(search);
    chooseOrdering(search.RadioGroup1, GetParam().item);
    EXPECT_EQ(search.RadioGroup1->ItemIndex(), GetParam().item);
    EXPECT_EQ(peg().IndexFieldNames(), GetParam().indexFieldNames);
    QTest::mouseClick(list.Button1, Qt::LeftButton);
    EXPECT_EQ(current(), GetParam().firstNip);
}

INSTANTIATE_TEST_SUITE_P(Orderings, EmployeeOrderingTest,
                         ::testing::Values(OrderingCase{0, "NIP", "1960000009"},
                                           OrderingCase{1, "Karpeg", "1970000001"},
                                           OrderingCase{2, "Nama_Pegawai", "1960000009"}));

TEST_F(SearchWindowFixture, TransferOrderingsSetTheTransferTablesKey)
{
    TForm7 form(dm());
    showActive(form);
    const char* expected[] = {"No_SKM", "NIP", "Nama_Pegawai"};
    for (int item : {2, 0, 1, 2}) {
        chooseOrdering(form.RadioGroup1, item);
        EXPECT_EQ(mut().IndexFieldNames(), expected[item]) << item;
    }
}

TEST_F(SearchWindowFixture, ArrowKeysInTheOrderingGroupChooseTheNextOrdering)
{
    TForm6 form(dm());
    showActive(form);
    chooseOrdering(form.RadioGroup1, 0);
    ASSERT_TRUE(form.RadioGroup1->button(0)->hasFocus());
    QTest::keyClick(form.RadioGroup1->button(0), Qt::Key_Down);
    EXPECT_EQ(form.RadioGroup1->ItemIndex(), 1);
    EXPECT_EQ(peg().IndexFieldNames(), "Karpeg");
}

TEST_F(SearchWindowFixture, AnotherWindowsOrderingIsWhatTheSearchUsesUntilOneIsChosenHere)
{
    seedEmployees(peg());
    TForm6 form(dm());
    showActive(form);
    peg().SetIndexFieldNames("Karpeg");  // as the employee data window may set it
    ModalBoxResponder responder;
    QTest::keyClicks(form.Edit1, QStringLiteral("K.123456"));
    QTest::mouseClick(form.Button2, Qt::LeftButton);
    EXPECT_TRUE(responder.boxes().empty());
    EXPECT_EQ(current(), "1987654321");
    EXPECT_EQ(form.RadioGroup1->ItemIndex(), -1);
}

TEST_F(SearchWindowFixture, TutupAndTheFramesCloseBoxHideTheWindowWhichKeepsItsOrdering)
{
    TForm6 form(dm());
    showActive(form);
    chooseOrdering(form.RadioGroup1, 1);
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    form.Show();
    EXPECT_EQ(form.RadioGroup1->ItemIndex(), 1);
    form.close();
    EXPECT_FALSE(form.isVisible());
}
