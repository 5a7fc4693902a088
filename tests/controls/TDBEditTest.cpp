#include "TDBEdit.h"

#include "BoundWindow.h"
#include "TDataLink.h"
#include "TStringField.h"

#include <QApplication>

namespace {

const char* const invalidInput = "Invalid input value.  Use escape key to abandon changes";

// Employee boxes as the employee data window has them: NIP (masked), name
// (plain) and birth date (masked date).
class DBEditWindow : public BoundWindow {
protected:
    void SetUp() override
    {
        BoundWindow::SetUp();
        addEmployee("1957010101", "Ahmad Yani", {{"Tanggal_Lahir", "12/05/1970"}});
        addEmployee("1960020202", "Budi Santoso");
        peg().First();
        nip = addEdit("DBEdit1", "NIP", 10);
        name = addEdit("DBEdit3", "Nama_Pegawai", 0);
        date = addEdit("DBEdit5", "Tanggal_Lahir", 10);
        showWindow();
    }

    TDBEdit* addEdit(const char* objectName, const std::string& field, int maxLength)
    {
        auto* edit = new TDBEdit(window.get());
        edit->setObjectName(QString::fromLatin1(objectName));
        edit->setMaxLength(maxLength);
        edit->SetDataSource(&dm().DSdatapeg);
        edit->SetDataField(field);
        edit->Loaded();
        layout->addWidget(edit);
        return edit;
    }

    void focus(TDBEdit* edit)
    {
        edit->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), edit);
    }
    void tab() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }

    TDBEdit* nip = nullptr;
    TDBEdit* name = nullptr;
    TDBEdit* date = nullptr;
};

TEST_F(DBEditWindow, ShowsTheCurrentRecordAndFollowsIt)
{
    EXPECT_EQ(nip->editText(), QStringLiteral("1957010101"));
    EXPECT_EQ(name->text(), QStringLiteral("Ahmad Yani"));
    EXPECT_EQ(date->editText(), QStringLiteral("12/05/1970"));
    EXPECT_TRUE(nip->isReadOnly());  // the edit window: writable only while editing
    peg().Next();
    EXPECT_EQ(name->text(), QStringLiteral("Budi Santoso"));
    EXPECT_EQ(date->editText(), QStringLiteral("__/__/____"));
}

TEST_F(DBEditWindow, TypingOnABrowsedRecordEditsIt)
{
    focus(name);
    QTest::keyClick(name, Qt::Key_End);
    QTest::keyClicks(name, QStringLiteral("!"));
    EXPECT_EQ(peg().State(), TDataSetState::dsEdit);
    EXPECT_FALSE(name->isReadOnly());
    EXPECT_EQ(name->text(), QStringLiteral("Ahmad Yani!"));
    EXPECT_EQ(current("Nama_Pegawai"), "Ahmad Yani");  // written only on leaving
    EXPECT_TRUE(errors().empty());
}

TEST_F(DBEditWindow, TypingOnARecordAnotherUserDeletedEditsNoOtherRecord)
{
    // A grid's window of rows, so that the engine does not stand on the
    // record shown; another copy of the program deletes that record.
    TDataLink grid;
    grid.SetBufferCount(3);
    grid.SetDataSource(&dm().DSdatapeg);
    peg().First();
    {
        TDMarsipstaf other;
        other.Loaded();
        ASSERT_TRUE(other.Tdatapeg.FindKey({"1957010101"}));
        other.Tdatapeg.Delete();
    }
    focus(name);
    QTest::keyClick(name, Qt::Key_End);
    QTest::keyClicks(name, QStringLiteral("!"));
    std::vector<std::string> seen = errors();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].substr(0, seen[0].find('\n')), "Record was deleted by another user.");
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(name->text(), QStringLiteral("Budi Santoso"));  // the screen re-read, nothing typed into it
    tab();
    EXPECT_EQ(current("Nama_Pegawai"), "Budi Santoso");
    EXPECT_EQ(peg().RecordCount(), 1);
    grid.SetDataSource(nullptr);
}

TEST_F(DBEditWindow, FirstDigitInAMaskedBoxLandsInTheEditedRecord)
{
    focus(nip);
    QTest::keyClick(nip, Qt::Key_Home);
    QTest::keyClicks(nip, QStringLiteral("2"));
    EXPECT_EQ(peg().State(), TDataSetState::dsEdit);
    EXPECT_EQ(nip->editText(), QStringLiteral("2957010101"));
}

TEST_F(DBEditWindow, EscapeRestoresTheValueAndKeepsEditState)
{
    focus(name);
    QTest::keyClick(name, Qt::Key_End);
    QTest::keyClicks(name, QStringLiteral("xyz"));
    QTest::keyClick(name, Qt::Key_Escape);
    EXPECT_EQ(name->text(), QStringLiteral("Ahmad Yani"));
    EXPECT_EQ(name->selectionLength(), 10);
    EXPECT_EQ(peg().State(), TDataSetState::dsEdit);
    tab();
    EXPECT_EQ(current("Nama_Pegawai"), "Ahmad Yani");
    EXPECT_FALSE(peg().Modified());
}

TEST_F(DBEditWindow, TabbingOutWritesOnlyWhatWasTyped)
{
    focus(nip);
    tab();
    tab();
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    EXPECT_FALSE(peg().Modified());

    focus(name);
    QTest::keyClick(name, Qt::Key_End);
    QTest::keyClicks(name, QStringLiteral(" Jr"));
    tab();
    EXPECT_EQ(current("Nama_Pegawai"), "Ahmad Yani Jr");
    EXPECT_TRUE(peg().Modified());
    EXPECT_NE(QApplication::focusWidget(), name);
    EXPECT_TRUE(errors().empty());
}

TEST_F(DBEditWindow, PostWritesThePendingTextFirst)
{
    focus(name);
    QTest::keyClick(name, Qt::Key_End);
    QTest::keyClicks(name, QStringLiteral("!"));
    peg().Post();
    EXPECT_EQ(current("Nama_Pegawai"), "Ahmad Yani!");
    EXPECT_EQ(name->text(), QStringLiteral("Ahmad Yani!"));
}

TEST_F(DBEditWindow, NipWithNineDigitsKeepsTheFocusUntilEscape)
{
    focus(nip);
    QTest::keyClick(nip, Qt::Key_End);
    QTest::keyClick(nip, Qt::Key_Backspace);
    tab();
    EXPECT_EQ(errors(), std::vector<std::string>{invalidInput});
    EXPECT_EQ(QApplication::focusWidget(), nip);
    EXPECT_EQ(current("NIP"), "1957010101");
    QTest::keyClick(nip, Qt::Key_Escape);
    EXPECT_EQ(nip->editText(), QStringLiteral("1957010101"));
    tab();
    EXPECT_TRUE(errors().empty());
    EXPECT_NE(QApplication::focusWidget(), nip);
}

TEST_F(DBEditWindow, HalfFilledDateIsRefusedByTheField)
{
    focus(date);
    QTest::keyClick(date, Qt::Key_End);
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(date, Qt::Key_Backspace);
    ASSERT_EQ(date->editText(), QStringLiteral("12/__/____"));
    tab();
    const auto caught = errors();
    ASSERT_EQ(caught.size(), 1u);
    EXPECT_NE(caught[0].find("is not a valid date"), std::string::npos) << caught[0];
    EXPECT_EQ(QApplication::focusWidget(), date);
    EXPECT_EQ(date->selectionLength(), 10);
    EXPECT_EQ(peg().FieldByName("Tanggal_Lahir")->DisplayText(), "12/05/1970");
}

TEST_F(DBEditWindow, DisabledBoxStillFollowsTheRecord)
{
    name->setEnabled(false);
    peg().Next();
    EXPECT_EQ(name->text(), QStringLiteral("Budi Santoso"));
    QTest::keyClicks(name, QStringLiteral("x"));
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
}

TEST_F(DBEditWindow, RedisplaysOnlyForItsOwnField)
{
    focus(nip);
    QTest::keyClick(nip, Qt::Key_Home);
    QTest::keyClicks(nip, QStringLiteral("3"));
    peg().FieldByName("Nama_Pegawai")->SetText("Other");
    EXPECT_EQ(nip->editText(), QStringLiteral("3957010101"));  // typed text kept
    EXPECT_EQ(name->text(), QStringLiteral("Other"));
}

TEST_F(DBEditWindow, ReadOnlyBoxNeverEdits)
{
    name->SetReadOnly(true);
    focus(name);
    QTest::keyClicks(name, QStringLiteral("x"));
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    peg().Edit();
    EXPECT_TRUE(name->isReadOnly());
}

TEST_F(DBEditWindow, FocusRequestOfTheFieldFocusesItsBox)
{
    focus(nip);
    peg().FieldByName("Tanggal_Lahir")->FocusControl();
    EXPECT_EQ(QApplication::focusWidget(), date);
}

// Links hear the request newest first; the first box that can take the
// focus ends it, so a later one does not steal it.
TEST_F(DBEditWindow, FocusRequestEndsAtTheFirstBoxThatTakesIt)
{
    TDBEdit* again = addEdit("DBEdit9", "Tanggal_Lahir", 10);
    again->show();
    focus(nip);
    peg().FieldByName("Tanggal_Lahir")->FocusControl();
    EXPECT_EQ(QApplication::focusWidget(), again);
    focus(nip);
    again->setEnabled(false);
    peg().FieldByName("Tanggal_Lahir")->FocusControl();
    EXPECT_EQ(QApplication::focusWidget(), date);
}

TEST_F(DBEditWindow, TheExitEventFiresOnlyWhenTheFocusLeaves)
{
    int exits = 0;
    QObject::connect(nip, &TCustomMaskEdit::exited, [&] { ++exits; });
    focus(nip);
    tab();
    EXPECT_EQ(exits, 1);
    focus(nip);
    QTest::keyClick(nip, Qt::Key_End);
    QTest::keyClick(nip, Qt::Key_Backspace);
    tab();  // nine digits: refused, the focus stays
    EXPECT_EQ(QApplication::focusWidget(), nip);
    EXPECT_EQ(exits, 1);
    errors();
}

TEST_F(DBEditWindow, MissingFieldNamesTheBox)
{
    EXPECT_EQ(DATABASE_ERROR_TEXT(name->SetDataField("Nama")), "DBEdit3: Field 'Nama' not found");
}

TEST_F(DBEditWindow, RecordLockedElsewhereLosesTheKeystrokeAndShowsTheError)
{
    TDMarsipstaf other;  // another copy of the tables, holding the record's lock
    other.Loaded();
    other.Tdatapeg.First();
    other.Tdatapeg.Edit();
    focus(name);
    QTest::keyClick(name, Qt::Key_End);
    QTest::keyClicks(name, QStringLiteral("x"));
    EXPECT_EQ(errors().size(), 1u);
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(name->text(), QStringLiteral("Ahmad Yani"));
    EXPECT_TRUE(name->isReadOnly());
    other.Tdatapeg.Cancel();
    QTest::keyClicks(name, QStringLiteral("x"));
    EXPECT_EQ(name->text(), QStringLiteral("Ahmad Yanix"));
}

TEST_F(DBEditWindow, ClosingTheTableEmptiesTheBox)
{
    peg().Close();
    EXPECT_EQ(name->text(), QString());
    EXPECT_EQ(name->Field(), nullptr);
    peg().Open();
    EXPECT_EQ(name->text(), QStringLiteral("Ahmad Yani"));
}

struct LengthCase {
    const char* field;
    int maxLength;
    int expected;
};

class DBEditLength : public BoundWindow, public testing::WithParamInterface<LengthCase> {};

TEST_P(DBEditLength, FollowsTheTextFieldSize)
{
    TDBEdit edit(window.get());
    edit.setMaxLength(GetParam().maxLength);
    edit.SetDataSource(&dm().DSdatapeg);
    edit.SetDataField(GetParam().field);
    edit.Loaded();
    EXPECT_EQ(edit.editor().plainMaxLength(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Fields, DBEditLength,
                         testing::Values(LengthCase{"Nama_Pegawai", 0, 25}, LengthCase{"Nama_Pegawai", 25, 25},
                                         LengthCase{"Nama_Pegawai", 12, 12}, LengthCase{"Alamat", 0, 30},
                                         LengthCase{"NIP", 10, 10}, LengthCase{"Tanggal_Lahir", 10, 10}));

TEST_F(BoundWindow, SwitchingTheFieldTakesTheNewSize)
{
    TDBEdit edit(window.get());
    edit.SetDataSource(&dm().DSdatapeg);
    edit.SetDataField("Nama_Pegawai");
    EXPECT_EQ(edit.editor().plainMaxLength(), 25);
    edit.SetDataField("Alamat");
    EXPECT_EQ(edit.editor().plainMaxLength(), 30);
}

}  // namespace
