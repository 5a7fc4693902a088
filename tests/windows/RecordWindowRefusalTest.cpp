#include "ModalBoxResponder.h"
#include "RecordWindowFixture.h"

// What a record window shows after the table refused an action: a search
// that could not run leaves no text behind, and a key that exists is named
// with its value, the search box that "Rubah" enabled enabled again.
namespace {

struct RefusalWindow {
    std::string name;
    bool employee;
    TestEngine engine;
};

std::ostream& operator<<(std::ostream& os, const RefusalWindow& w)
{
    return os << w.name;
}

class RecordWindowRefusal : public RecordWindowFixture, public ::testing::WithParamInterface<RefusalWindow> {
protected:
    TestEngine engine() const override { return GetParam().engine; }
    RecordWindow& form() { return GetParam().employee ? static_cast<RecordWindow&>(*form2) : *form3; }
    TTable& table() { return GetParam().employee ? peg() : mut(); }
};

TEST_P(RecordWindowRefusal, ARefusedSearchPutsTheSearchBoxBackOnTheLastSearch)
{
    showAndActivate(form());
    click(form().Button5);  // Rubah: the search box takes typing
    QTest::keyClicks(form().Edit1, QStringLiteral("1"));
    click(form().Button1);
    typeInto(form().entry(3), QStringLiteral("Baru"));  // the key stays blank
    form().Edit1->setFocus(Qt::TabFocusReason);
    {
        ModalBoxResponder responder;
        responder.click(QStringLiteral("OK"));
        QTest::keyClicks(form().Edit1, QStringLiteral("9"));
        ASSERT_EQ(responder.boxes().size(), 1);
    }
    EXPECT_EQ(form().Edit1->text(), QStringLiteral("1"));
    EXPECT_EQ(table().State(), TDataSetState::dsInsert);
    EXPECT_EQ(form().entry(3)->text(), QStringLiteral("Baru"));
}

TEST_P(RecordWindowRefusal, AKeyThatExistsIsNamedWithItsValueAndTheSearchBoxIsGivenBack)
{
    const bool employee = GetParam().employee;
    showAndActivate(form());
    click(form().Button5);
    click(form().Button1);
    const QStringList texts =
        employee ? QStringList{"1960020202", "44444444", "Dewi Sartika", "Bogor", "05051970", "Jl. Dago 5", "Prajab"}
                 : QStringList{"A1234BC01022001", "19650303033", "Citra Dewi", "Sindara", "Bandung", "010203"};
    for (int n = 1; n <= form().entryCount(); ++n)
        typeInto(form().entry(n), texts[n - 1]);
    const int before = table().RecordCount();
    {
        ModalBoxResponder responder;
        responder.click(QStringLiteral("OK"));
        click(form().Button3);
        ASSERT_EQ(responder.boxes().size(), 1);
        EXPECT_EQ(responder.last().text, employee ? QStringLiteral("Key violation.\n"
                                                                   "A record with NIP 1960020202 already exists.")
                                                  : QStringLiteral("Key violation.\nA record with No_SKM "
                                                                   "A-1234-BC.01.02-2001 already exists."));
    }
    EXPECT_TRUE(form().Edit1->isEnabled());
    EXPECT_TRUE(form().Button3->isEnabled());
    EXPECT_EQ(form().focusWidget(), form().entry(1));
    EXPECT_EQ(table().State(), TDataSetState::dsInsert);
    table().Cancel();
    EXPECT_EQ(table().RecordCount(), before);
    ASSERT_TRUE(table().FindKey({employee ? "1960020202" : "A-1234-BC.01.02-2001"}));
    EXPECT_EQ(table().FieldByName("Nama_Pegawai")->AsString(), employee ? "Budi Santoso" : "Ahmad Yani");
}

INSTANTIATE_TEST_SUITE_P(Windows, RecordWindowRefusal,
                         ::testing::Values(RefusalWindow{"EmployeeFiles", true, TestEngine::Files},
                                           RefusalWindow{"TransferFiles", false, TestEngine::Files},
                                           RefusalWindow{"EmployeeServer", true, TestEngine::Server},
                                           RefusalWindow{"TransferServer", false, TestEngine::Server}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
