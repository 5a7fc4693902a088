#include "RecordWindowFixture.h"

namespace {

// The controls Tab visits from DBEdit1 until it comes back, by name.
QStringList tabCycle(RecordWindow& form)
{
    QStringList seen;
    form.entry(1)->setFocus(Qt::TabFocusReason);
    QWidget* focus = QApplication::focusWidget();
    for (int i = 0; i < 40 && focus; ++i) {
        seen << focus->objectName();
        QTest::keyClick(focus, Qt::Key_Tab);
        focus = QApplication::focusWidget();
        if (focus == form.entry(1))
            break;
    }
    return seen;
}

class RecordWindowTabOrder : public RecordWindowFixture {};

TEST_F(RecordWindowTabOrder, EmployeeWindowPanelsThenGroupsThenButtons)
{
    showAndActivate(*form2);
    click(form2->Button5);  // the search box and Simpan take part too
    const QStringList expected = QStringLiteral(
        "DBEdit1 DBEdit2 DBEdit3 DBEdit4 DBEdit5 DBLookupComboBox1 DBLookupComboBox2 DBEdit6 "
        "DBLookupComboBox3 DBLookupComboBox4 DBLookupComboBox5 DBLookupComboBox6 DBEdit7 DBLookupComboBox7 "
        "Item0 Edit1 Button1 Button2 Button3 Button4 Button5 Button6 Button7").split(QLatin1Char(' '));
    EXPECT_EQ(tabCycle(*form2), expected);
}

TEST_F(RecordWindowTabOrder, TransferWindowPanelsThenGroupsThenButtons)
{
    showAndActivate(*form3);
    click(form3->Button5);
    const QStringList expected = QStringLiteral(
        "DBEdit1 DBEdit2 DBEdit3 DBLookupComboBox1 DBLookupComboBox2 DBLookupComboBox3 DBEdit4 DBEdit5 DBEdit6 "
        "Item0 Edit1 Button1 Button2 Button3 Button4 Button5 Button6 Button7").split(QLatin1Char(' '));
    EXPECT_EQ(tabCycle(*form3), expected);
}

}  // namespace
