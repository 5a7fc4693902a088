#include "MessageButton.h"
#include "ModalBoxResponder.h"
#include "RecordWindowFixture.h"
#include "TForm4.h"
#include "TForm5.h"

#include <QSignalSpy>

// Enter on a focused button presses it, as Space does, in every window a
// clerk reaches: the record windows, the list and the search windows.
namespace {

// Focuses button in its shown window and presses Enter there: one click.
void expectEnterClicks(QPushButton* button)
{
    QWidget* window = button->window();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    button->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(button->hasFocus()) << button->text().toStdString();
    QSignalSpy clicks(button, &QAbstractButton::clicked);
    QTest::keyClick(button, Qt::Key_Return);
    EXPECT_EQ(clicks.count(), 1) << button->text().toStdString();
}

TEST_F(RecordWindowFixture, EnterOnEachButtonOfTheRecordWindowsPressesIt)
{
    for (RecordWindow* form : {static_cast<RecordWindow*>(form2.get()), static_cast<RecordWindow*>(form3.get())}) {
        ModalBoxResponder responder;
        responder.click(QStringLiteral("OK")).click(QStringLiteral("No"));
        expectEnterClicks(form->Button1);  // Tambah
        EXPECT_EQ(form->table()->State(), TDataSetState::dsInsert);
        expectEnterClicks(form->Button3);  // Simpan: the complaint, answered OK
        expectEnterClicks(form->Button2);  // Batal
        EXPECT_EQ(form->table()->State(), TDataSetState::dsBrowse);
        expectEnterClicks(form->Button4);  // Hapus, answered No
        expectEnterClicks(form->Button5);  // Rubah
        EXPECT_TRUE(form->Edit1->isEnabled());
        expectEnterClicks(form->Button6);  // Cari
        expectEnterClicks(form->Button7);  // Tutup
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(responder.boxes().size(), 2);
        EXPECT_EQ(responder.pending(), 0);
    }
    EXPECT_TRUE(errors().empty());
}

TEST_F(RecordWindowFixture, EnterOnTheButtonsOfTheListAndSearchWindowsPressesThem)
{
    TForm4 employees(dm());
    TForm5 transfers(dm());
    for (ListWindow* list : {static_cast<ListWindow*>(&employees), static_cast<ListWindow*>(&transfers)}) {
        TTable& table = list == &employees ? peg() : mut();
        expectEnterClicks(list->Button2);  // Terakhir
        EXPECT_TRUE(table.Eof());
        expectEnterClicks(list->Button1);  // Pertama
        EXPECT_TRUE(table.Bof());
        expectEnterClicks(list->Button3);  // Tutup
        EXPECT_FALSE(list->isVisible());
    }
    for (SearchWindow* search : {static_cast<SearchWindow*>(form6.get()), static_cast<SearchWindow*>(form7.get())}) {
        ModalBoxResponder responder;
        responder.click(QStringLiteral("OK"));
        expectEnterClicks(search->Button2);  // Cari with an empty box: not found
        EXPECT_EQ(responder.boxes().size(), 1);
        expectEnterClicks(search->Button1);  // Tutup
        EXPECT_FALSE(search->isVisible());
    }
    EXPECT_TRUE(errors().empty());
}

}  // namespace

namespace {

// Escape answers the boxes that offer one answer only: the complaint
// (OK) and the reminder after a transfer is stored (Yes).
TEST_F(RecordWindowFixture, EscapeAnswersTheComplaintAndTheReminder)
{
    showAndActivate(*form3);
    click(form3->Button1);
    {
        ModalBoxResponder responder;
        responder.key(Qt::Key_Escape);
        click(form3->Button3);
        ASSERT_EQ(responder.boxes().size(), 1);
        EXPECT_EQ(responder.last().text, RecordWindow::incompleteText);
        EXPECT_FALSE(responder.last().leftOpen);
        EXPECT_EQ(responder.last().result, mrOk);
    }
    const QStringList texts{"C3000DE01022003", "19650303033", "Citra Dewi", "Sindara", "Bandung", "010203"};
    for (int n = 1; n <= 6; ++n)
        typeInto(form3->entry(n), texts[n - 1]);
    {
        ModalBoxResponder responder;
        responder.key(Qt::Key_Escape);
        click(form3->Button3);
        ASSERT_EQ(responder.boxes().size(), 1);
        EXPECT_EQ(responder.last().text, QStringLiteral("jangan lupa hapus data pegawai ...!"));
        EXPECT_FALSE(responder.last().leftOpen);
        EXPECT_EQ(responder.last().result, mrYes);
    }
    EXPECT_TRUE(form2->isVisible());
    ASSERT_TRUE(mut().FindKey({"C-3000-DE.01.02-2003"}));
    EXPECT_EQ(mut().FieldByName("Nama_Pegawai")->AsString(), "Citra Dewi");
}

}  // namespace
