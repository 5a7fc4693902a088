#include "ModalBoxResponder.h"
#include "RecordWindowFixture.h"
#include "TDBGrid.h"
#include "TDBNavigator.h"
#include "TNavButton.h"

// "Simpan" (Button3Click) in both record windows: what reaches the table
// after a complaint, with nothing pending, after a store and after a store
// the table refused. Every case reads the stored table back.
namespace {

struct SimpanWindow {
    const char* name;
    bool employee;
};

std::ostream& operator<<(std::ostream& os, const SimpanWindow& w)
{
    return os << w.name;
}

const SimpanWindow bothWindows[] = {{"Employee", true}, {"Transfer", false}};

class RecordWindowSimpan : public RecordWindowFixture {
protected:
    void SetUpWindow(bool employee)
    {
        employee_ = employee;
        showAndActivate(form());
    }

    RecordWindow& form() { return employee_ ? static_cast<RecordWindow&>(*form2) : *form3; }
    TTable& table() { return employee_ ? peg() : mut(); }
    int records() { return table().RecordCount(); }
    std::string keyField() const { return employee_ ? "NIP" : "No_SKM"; }
    // The key of the record enterEntries() types, as stored.
    std::string newKey() const { return employee_ ? "1970050505" : "C-3000-DE.01.02-2003"; }
    std::string newName() const { return employee_ ? "Dewi Sartika" : "Citra Dewi"; }

    // Keys typed into DBEdit1, DBEdit2, ... for a complete new record.
    QStringList completeTexts() const
    {
        if (employee_)
            return {QStringLiteral("1970050505"), QStringLiteral("44444444"), QStringLiteral("Dewi Sartika"),
                    QStringLiteral("Bogor"),      QStringLiteral("05051970"), QStringLiteral("Jl. Dago 5"),
                    QStringLiteral("Prajab")};
        return {QStringLiteral("C3000DE01022003"), QStringLiteral("19650303033"), QStringLiteral("Citra Dewi"),
                QStringLiteral("Sindara"),         QStringLiteral("Bandung"),     QStringLiteral("010203")};
    }

    // Tambah, then every entry but the one numbered skip.
    void enterRecord(int skip = 0)
    {
        click(form().Button1);
        const QStringList texts = completeTexts();
        for (int n = 1; n <= form().entryCount(); ++n)
            if (n != skip)
                typeInto(form().entry(n), texts[n - 1]);
    }

    // Simpan expected to store: the transfer window's reminder is answered.
    void storeExpectingSuccess()
    {
        ModalBoxResponder responder;
        if (!employee_)
            responder.click(QStringLiteral("Yes"));
        click(form().Button3);
        EXPECT_EQ(responder.pending(), 0);
        for (const ModalBoxRecord& box : responder.boxes())
            EXPECT_NE(box.text, RecordWindow::incompleteText);
    }

    std::string stored(const std::string& field) { return table().FieldByName(field)->AsString(); }

    void expectEntriesEnabled(bool enabled)
    {
        for (int n = 1; n <= form().entryCount(); ++n)
            EXPECT_EQ(form().entry(n)->isEnabled(), enabled) << "DBEdit" << n;
        for (int n = 1; n <= form().lookupCount(); ++n)
            EXPECT_EQ(form().lookupBox(n)->isEnabled(), enabled) << "DBLookupComboBox" << n;
    }

    // The window's focus, whether or not it is the active window now.
    QWidget* focusIn(RecordWindow& window) { return window.focusWidget(); }

    bool employee_ = true;
};

// ---- a failed completeness check ----

struct EmptyEntryCase {
    SimpanWindow window;
    int entry;
};

std::ostream& operator<<(std::ostream& os, const EmptyEntryCase& c)
{
    return os << c.window.name << "DBEdit" << c.entry;
}

std::vector<EmptyEntryCase> emptyEntryCases()
{
    std::vector<EmptyEntryCase> cases;
    for (int n = 1; n <= 7; ++n)
        cases.push_back({bothWindows[0], n});
    for (int n = 1; n <= 6; ++n)
        cases.push_back({bothWindows[1], n});
    return cases;
}

class SimpanWithAnEmptyEntry : public RecordWindowSimpan, public ::testing::WithParamInterface<EmptyEntryCase> {
protected:
    void SetUp() override
    {
        RecordWindowSimpan::SetUp();
        SetUpWindow(GetParam().window.employee);
    }
};

// Masked entries count as empty too when they hold only their literals and
// blanks. Nothing is stored; the record stays pending with what was typed,
// editable, and the focus waits in the empty entry; completing it stores.
TEST_P(SimpanWithAnEmptyEntry, ComplainsStoresNothingAndKeepsTheRecordEditable)
{
    const int empty = GetParam().entry;
    const int before = records();
    enterRecord(empty);
    {
        ModalBoxResponder responder;
        responder.click(QStringLiteral("OK"));
        click(form().Button3);
        ASSERT_EQ(responder.boxes().size(), 1);
        EXPECT_EQ(responder.last().text, QStringLiteral("Maaf data yang anda masukkan belum lengkap !"));
        EXPECT_EQ(responder.last().caption, QStringLiteral("kesalahan"));
    }
    EXPECT_TRUE(errors().empty());
    EXPECT_EQ(table().State(), TDataSetState::dsInsert);
    expectEntriesEnabled(true);
    EXPECT_TRUE(form().Button3->isEnabled());
    EXPECT_EQ(focusIn(form()), form().entry(empty));
    const int typed = empty == 3 ? 4 : 3;
    EXPECT_EQ(form().entry(typed)->text(), completeTexts()[typed - 1]);
    if (!employee_) {
        EXPECT_FALSE(form2->isVisible());  // the clerk stays with the record
    }
    EXPECT_EQ(records(), before);  // read back from the table file

    // The clerk fills the empty entry and stores the same record.
    typeInto(form().entry(empty), completeTexts()[empty - 1]);
    storeExpectingSuccess();
    EXPECT_EQ(table().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(records(), before + 1);
    ASSERT_TRUE(table().FindKey({newKey()}));
    EXPECT_EQ(stored("Nama_Pegawai"), newName());
}

INSTANTIATE_TEST_SUITE_P(Entries, SimpanWithAnEmptyEntry, ::testing::ValuesIn(emptyEntryCases()), [](const auto& info) {
    return std::string(info.param.window.name) + "DBEdit" + std::to_string(info.param.entry);
});

class SimpanEach : public RecordWindowSimpan, public ::testing::WithParamInterface<SimpanWindow> {
protected:
    void SetUp() override
    {
        RecordWindowSimpan::SetUp();
        SetUpWindow(GetParam().employee);
    }
};

TEST_P(SimpanEach, NothingTypedAfterTambahStoresNoRecordOfBlanks)
{
    const int before = records();
    click(form().Button1);
    {
        ModalBoxResponder responder;
        responder.click(QStringLiteral("OK"));
        click(form().Button3);
        ASSERT_EQ(responder.boxes().size(), 1);
        EXPECT_EQ(responder.last().text, RecordWindow::incompleteText);
    }
    EXPECT_EQ(focusIn(form()), form().entry(1));
    EXPECT_TRUE(form().Button3->isEnabled());
    click(form().Button2);  // Batal
    EXPECT_EQ(records(), before);
    for (table().First(); !table().Eof(); table().Next())
        EXPECT_NE(stored(keyField()), "");
}

// A key typed and erased again: the entry was changed and reads back
// only its literals and spaces, which is still empty.
TEST_P(SimpanEach, AMaskedKeyOfOnlyLiteralsAndBlanksIsEmpty)
{
    const int before = records();
    enterRecord(1);
    typeInto(form().entry(1), QString());  // typed and erased: literals and blanks
    ModalBoxResponder responder;
    responder.click(QStringLiteral("OK"));
    click(form().Button3);
    ASSERT_EQ(responder.boxes().size(), 1);
    EXPECT_EQ(responder.last().text, RecordWindow::incompleteText);
    EXPECT_EQ(focusIn(form()), form().entry(1));
    table().Cancel();
    EXPECT_EQ(records(), before);
}

// ---- nothing pending ----

TEST_P(SimpanEach, WithNothingPendingLocksTheEntriesWithoutAnyBox)
{
    table().Last();  // Citra Dewi has no place of birth: an incomplete record
    const int before = records();
    click(form().Button5);  // Rubah, nothing typed
    ModalBoxResponder responder;
    click(form().Button3);
    EXPECT_TRUE(responder.boxes().isEmpty());
    EXPECT_TRUE(errors().empty());
    EXPECT_EQ(table().State(), TDataSetState::dsBrowse);
    expectEntriesEnabled(false);
    EXPECT_FALSE(form().Button3->isEnabled());
    EXPECT_EQ(records(), before);
}

// ---- focus after a store ----

// Space, Space, Enter right after a store: the focus is on "Tambah", so this
// begins a new record (dropped again, nothing typed) and deletes nothing.
TEST_P(SimpanEach, FocusGoesToTambahSoSpaceSpaceEnterKeepsTheStoredRecord)
{
    const int before = records();
    enterRecord();
    storeExpectingSuccess();
    EXPECT_EQ(focusIn(form()), form().Button1);
    if (QApplication::activeWindow() != &form())
        showAndActivate(form());
    {
        ModalBoxResponder responder;
        responder.key(Qt::Key_Space);  // a delete question would be answered as a clerk would
        for (Qt::Key key : {Qt::Key_Space, Qt::Key_Space, Qt::Key_Return}) {
            QWidget* target = QApplication::focusWidget();
            ASSERT_NE(target, nullptr);
            QTest::keyClick(target, key);
        }
        EXPECT_TRUE(responder.boxes().isEmpty());
    }
    table().Cancel();
    EXPECT_EQ(records(), before + 1);
    ASSERT_TRUE(table().FindKey({newKey()}));
    EXPECT_EQ(stored("Nama_Pegawai"), newName());
}

// ---- a store the table refuses ----

TEST_P(SimpanEach, AnExistingKeyShowsTheErrorThenLeavesTheRecordCorrectable)
{
    const int before = records();
    const std::string existing = employee_ ? "1960020202" : "B-2000-CD.01.02-2002";
    enterRecord();
    typeInto(form().entry(1), employee_ ? QStringLiteral("1960020202") : QStringLiteral("B2000CD01022002"));
    {
        ModalBoxResponder responder;
        responder.click(QStringLiteral("OK"));
        click(form().Button3);
        ASSERT_EQ(responder.boxes().size(), 1);
        EXPECT_TRUE(responder.last().text.contains(QStringLiteral("Key violation")))
            << responder.last().text.toStdString();
    }
    EXPECT_EQ(table().State(), TDataSetState::dsInsert);
    expectEntriesEnabled(true);
    EXPECT_TRUE(form().Button3->isEnabled());
    EXPECT_EQ(focusIn(form()), form().entry(1));

    // Corrected and stored.
    typeInto(form().entry(1), completeTexts()[0]);
    storeExpectingSuccess();
    EXPECT_EQ(table().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(records(), before + 1);
    ASSERT_TRUE(table().FindKey({newKey()}));
    EXPECT_EQ(stored("Nama_Pegawai"), newName());
    ASSERT_TRUE(table().FindKey({existing}));
    EXPECT_EQ(stored("Nama_Pegawai"), "Budi Santoso");
}

INSTANTIATE_TEST_SUITE_P(Windows, SimpanEach, ::testing::ValuesIn(bothWindows),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- the transfer window hands over to the employee window ----

class TransferSimpan : public RecordWindowSimpan {
protected:
    void SetUp() override
    {
        RecordWindowSimpan::SetUp();
        SetUpWindow(false);
    }
};

// Typing on after the reminder must not edit an employee: the employee
// window comes forward with its grid focused, not an entry.
TEST_F(TransferSimpan, TheEmployeeWindowComesForwardWithItsGridFocused)
{
    const std::vector<std::string> employees = order();
    peg().First();
    enterRecord();
    storeExpectingSuccess();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form2.get()));
    EXPECT_EQ(QApplication::focusWidget(), form2->DBGrid1);
    {
        ModalBoxResponder responder;  // no box may appear
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("F6666"));
        QTest::mouseClick(form2->DBNavigator1->button(nbNext), Qt::LeftButton);
    }
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(order(), employees);
    EXPECT_TRUE(errors().empty());
}

}  // namespace
