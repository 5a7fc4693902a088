#include "ModalBoxResponder.h"
#include "RecordWindowFixture.h"
#include "RegionalSettings.h"
#include "TPopupDataList.h"

// What the record windows' controls show: the transfer date entry through
// its two-digit-year mask, and the lookup boxes' drop-down rows.
namespace {

// ---- the TMT entry of the transfer window ----

struct DateCase {
    const char* name;
    const char* format;  // the short date format
    const char* date;    // as that format writes it
    const char* keys;    // typed into the entry for the same date
    const char* shown;   // the entry's text, focused or not
};

std::ostream& operator<<(std::ostream& os, const DateCase& c)
{
    return os << c.name;
}

const DateCase dateCases[] = {
    {"MonthFirst2024", "%m/%d/%Y", "04/25/2024", "042524", "04/25/24"},
    {"MonthFirst2007", "%m/%d/%Y", "03/05/2007", "030507", "03/05/07"},
    {"DayFirst2007", "%d/%m/%Y", "05/03/2007", "050307", "05/03/07"},
    {"DayFirst1999", "%d/%m/%Y", "31/12/1999", "311299", "31/12/99"},
};

class TransferDateEntry : public RecordWindowFixture, public ::testing::WithParamInterface<DateCase> {
protected:
    void SetUp() override
    {
        RecordWindowFixture::SetUp();
        RegionalSettings::current() = RegionalSettings::fromDateFormat(GetParam().format);
        showAndActivate(*form3);
    }
    QString shown() const { return QString::fromLatin1(GetParam().shown); }
};

TEST_P(TransferDateEntry, ShowsTheLastTwoDigitsOfTheYearFocusedOrNot)
{
    mut().First();
    mut().Edit();
    mut().FieldByName("TMT")->SetText(GetParam().date);
    mut().Post();
    EXPECT_EQ(mut().FieldByName("TMT")->DisplayText(), GetParam().date);  // the grid's text
    EXPECT_EQ(form3->DBEdit6->editText(), shown());
    click(form3->Button5);  // Rubah
    form3->DBEdit6->setFocus();
    EXPECT_EQ(form3->DBEdit6->editText(), shown());
    EXPECT_EQ(form3->DBEdit6->text(), shown());
    form3->DBEdit5->setFocus();
    EXPECT_EQ(form3->DBEdit6->editText(), shown());
    EXPECT_EQ(mut().State(), TDataSetState::dsBrowse);
    EXPECT_TRUE(errors().empty());
}

TEST_P(TransferDateEntry, ShowsTheSameAfterTheTransferIsStored)
{
    click(form3->Button1);  // Tambah
    const QStringList texts{QStringLiteral("C3000DE01022003"), QStringLiteral("19650303033"),
                            QStringLiteral("Citra Dewi"),      QStringLiteral("Sindara"),
                            QStringLiteral("Bandung"),         QString::fromLatin1(GetParam().keys)};
    for (int n = 1; n <= 6; ++n)
        typeInto(form3->entry(n), texts[n - 1]);
    EXPECT_EQ(form3->DBEdit6->editText(), shown());
    {
        ModalBoxResponder responder;
        responder.click(QStringLiteral("Yes"));
        click(form3->Button3);
    }
    EXPECT_TRUE(errors().empty());
    ASSERT_TRUE(mut().FindKey({"C-3000-DE.01.02-2003"}));
    EXPECT_EQ(mut().FieldByName("TMT")->DisplayText(), GetParam().date);
    EXPECT_EQ(form3->DBEdit6->editText(), shown());
}

INSTANTIATE_TEST_SUITE_P(Dates, TransferDateEntry, ::testing::ValuesIn(dateCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- the lookup boxes' drop-down ----

enum class Where { Start, Middle, End };

struct DropDownCase {
    std::string name;
    int box;  // DBLookupComboBoxn of the employee window
    Where where;
};

std::ostream& operator<<(std::ostream& os, const DropDownCase& c)
{
    return os << c.name;
}

std::vector<DropDownCase> dropDownCases()
{
    const char* tables[] = {"JK", "Agama", "Pangkat", "Golongan", "Jabatan", "PendFormal", "Status"};
    std::vector<DropDownCase> cases;
    for (int box = 1; box <= 7; ++box)
        for (auto [where, name] :
             {std::pair{Where::Start, "Start"}, std::pair{Where::Middle, "Middle"}, std::pair{Where::End, "End"}})
            cases.push_back({std::string(tables[box - 1]) + name, box, where});
    return cases;
}

class LookupDropDown : public RecordWindowFixture, public ::testing::WithParamInterface<DropDownCase> {
protected:
    void SetUp() override
    {
        RecordWindowFixture::SetUp();
        showAndActivate(*form2);
    }

    TDBLookupComboBox* box() { return form2->lookupBox(GetParam().box); }

    // The code table's codes and texts, in its order.
    void readCodeTable(std::vector<std::string>& codes, std::vector<std::string>& texts)
    {
        TDataSet* table = box()->ListSource()->DataSet();
        for (table->First(); !table->Eof(); table->Next()) {
            codes.push_back(table->FieldByName(box()->KeyField())->AsString());
            texts.push_back(table->FieldByName(box()->ListField())->AsString());
        }
    }
};

// A short code table drops down all its records; a long one a full window
// of neighbouring records that holds the current code. No row is blank.
TEST_P(LookupDropDown, RowsAreTheCodeTableAroundTheCurrentCodeWithoutBlanks)
{
    std::vector<std::string> codes, texts;
    readCodeTable(codes, texts);
    const int count = int(codes.size());
    ASSERT_GT(count, 1);
    const int current = GetParam().where == Where::Start ? 0 : GetParam().where == Where::End ? count - 1 : count / 2;
    peg().First();
    peg().Edit();
    peg().FieldByName(box()->DataField())->SetText(codes[current]);
    peg().Post();
    ASSERT_EQ(box()->Text(), texts[current]);

    box()->setFocus();
    QTest::keyClick(box(), Qt::Key_Down, Qt::AltModifier);
    TPopupDataList& popup = box()->popup();
    ASSERT_TRUE(popup.isVisible());
    const int shown = std::min(count, 7);
    EXPECT_EQ(popup.rowCount(), shown);
    const std::vector<std::string> rows = popup.rowTexts();
    ASSERT_EQ(int(rows.size()), shown);
    if (count <= 7) {
        EXPECT_EQ(rows, texts);
    } else {
        const auto first = std::find(texts.begin(), texts.end(), rows.front());
        ASSERT_NE(first, texts.end());
        ASSERT_LE(first + shown, texts.end());
        EXPECT_EQ(rows, std::vector<std::string>(first, first + shown));
    }
    ASSERT_GE(popup.highlightedRow(), 0);
    EXPECT_EQ(rows[std::size_t(popup.highlightedRow())], texts[current]);

    QTest::keyClick(box(), Qt::Key_Escape);
    EXPECT_FALSE(popup.isVisible());
    EXPECT_EQ(peg().FieldByName(box()->DataField())->AsString(), codes[current]);
    EXPECT_TRUE(errors().empty());
}

INSTANTIATE_TEST_SUITE_P(CodeTables, LookupDropDown, ::testing::ValuesIn(dropDownCases()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
