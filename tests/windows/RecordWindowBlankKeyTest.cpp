#include "ModalBoxResponder.h"
#include "RecordWindowFixture.h"
#include "TDBGrid.h"
#include "TDBNavigator.h"
#include "TNavButton.h"

// A new record with a blank key pending in a record window, stored by the
// browse-mode check of another action ("Tambah" again, the search box, the
// navigator, the grid): the key field is required, so the action is refused
// with the dataset's own error, the focus goes to the key's entry, the
// table does not move and nothing is stored.
namespace {

enum class Path { Tambah, SearchBox, Navigator, Grid };

struct BlankKeyCase {
    std::string name;
    bool employee;
    Path path;
    bool typedAndErased;  // the key entry was changed back to literals and blanks
};

std::ostream& operator<<(std::ostream& os, const BlankKeyCase& c)
{
    return os << c.name;
}

std::vector<BlankKeyCase> blankKeyCases()
{
    const std::pair<const char*, Path> paths[] = {
        {"Tambah", Path::Tambah}, {"SearchBox", Path::SearchBox}, {"Navigator", Path::Navigator}, {"Grid", Path::Grid}};
    std::vector<BlankKeyCase> cases;
    for (bool employee : {true, false})
        for (const auto& [pathName, path] : paths)
            for (bool erased : {false, true})
                cases.push_back({std::string(employee ? "Employee" : "Transfer") + pathName +
                                     (erased ? "ErasedKey" : "UntouchedKey"),
                                 employee, path, erased});
    return cases;
}

class RecordWindowBlankKey : public RecordWindowFixture, public ::testing::WithParamInterface<BlankKeyCase> {
protected:
    void SetUp() override
    {
        RecordWindowFixture::SetUp();
        showAndActivate(form());
    }

    RecordWindow& form() { return GetParam().employee ? static_cast<RecordWindow&>(*form2) : *form3; }
    TTable& table() { return GetParam().employee ? peg() : mut(); }

    void act(Path path)
    {
        switch (path) {
        case Path::Tambah:
            click(form().Button1);
            break;
        case Path::SearchBox:
            form().Edit1->setFocus();
            QTest::keyClicks(form().Edit1, QStringLiteral("1"));
            break;
        case Path::Navigator:
            QTest::mouseClick(form().DBNavigator1->button(nbFirst), Qt::LeftButton);
            break;
        case Path::Grid: {
            TDBGrid* grid = form().DBGrid1;
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, grid->CellRect(1, 0).center());
            break;
        }
        }
    }
};

TEST_P(RecordWindowBlankKey, IsRefusedWithTheRequiredFieldErrorAndTheFocusOnTheKeyEntry)
{
    const BlankKeyCase& c = GetParam();
    const int before = table().RecordCount();
    click(form().Button5);  // Rubah: the search box takes typing
    click(form().Button1);  // Tambah
    if (c.typedAndErased)
        typeInto(form().entry(1), QString());
    typeInto(form().entry(3), QStringLiteral("Baru"));
    {
        ModalBoxResponder responder;
        responder.click(QStringLiteral("OK"));
        act(c.path);
        ASSERT_EQ(responder.boxes().size(), 1);
        EXPECT_EQ(responder.last().text, c.employee ? QStringLiteral("Field 'NIP' must have a value.")
                                                    : QStringLiteral("Field 'No_SKM' must have a value."));
    }
    EXPECT_EQ(table().State(), TDataSetState::dsInsert);  // the move did not happen
    EXPECT_EQ(form().focusWidget(), form().entry(1));
    EXPECT_EQ(form().entry(3)->text(), QStringLiteral("Baru"));
    EXPECT_EQ(table().RecordCount(), before);
    table().Cancel();
    for (table().First(); !table().Eof(); table().Next())
        EXPECT_NE(table().FieldByName("Nama_Pegawai")->AsString(), "Baru");
}

INSTANTIATE_TEST_SUITE_P(Paths, RecordWindowBlankKey, ::testing::ValuesIn(blankKeyCases()),
                         [](const auto& info) { return info.param.name; });

// Only the key is required: a pending record with a key and nothing else
// is stored by the same moves, as before.
TEST_F(RecordWindowFixture, ARecordWithAKeyAndNothingElseIsStoredByTheNavigator)
{
    showAndActivate(*form2);
    click(form2->Button1);
    typeInto(form2->DBEdit1, QStringLiteral("1999090909"));
    ModalBoxResponder responder;
    QTest::mouseClick(form2->DBNavigator1->button(nbFirst), Qt::LeftButton);
    EXPECT_TRUE(responder.boxes().isEmpty());
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(employeeCount(), 4);
    ASSERT_TRUE(peg().FindKey({"1999090909"}));
    EXPECT_EQ(current("Nama_Pegawai"), "");
}

}  // namespace
