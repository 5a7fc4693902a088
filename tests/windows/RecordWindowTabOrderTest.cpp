#include "RecordWindowFixture.h"
#include "TDBGrid.h"

namespace {

// A focused control's name; a radio button goes by its group's name.
QString nameOf(QWidget* widget)
{
    if (!widget)
        return QStringLiteral("(none)");
    if (qobject_cast<QRadioButton*>(widget))
        return widget->parentWidget()->objectName();
    return widget->objectName();
}

// The controls Tab visits from `from` until it reaches `until`, by name.
// The grid keeps Tab for its columns, so a walk stops there.
QStringList tabWalk(QWidget* from, QWidget* until)
{
    QStringList seen;
    from->setFocus(Qt::TabFocusReason);
    QWidget* focus = QApplication::focusWidget();
    for (int i = 0; i < 40 && focus; ++i) {
        seen << nameOf(focus);
        if (focus == until)
            break;
        QTest::keyClick(focus, Qt::Key_Tab);
        focus = QApplication::focusWidget();
    }
    return seen;
}

QStringList names(const char* list)
{
    return QString::fromLatin1(list).split(QLatin1Char(' '));
}

// Left panel, right panel, ordering group, search group, grid; then the
// buttons from left to right, and round to the first entry.
void checkTabOrder(RecordWindow& form, const char* upToGrid)
{
    click(form.Button5);  // the search box and Simpan take part too
    EXPECT_EQ(tabWalk(form.entry(1), form.DBGrid1), names(upToGrid));
    EXPECT_EQ(tabWalk(form.Button1, form.entry(1)),
              names("Button1 Button2 Button3 Button4 Button5 Button6 Button7 Button8 DBEdit1"));
    form.Button1->setFocus(Qt::TabFocusReason);
    QTest::keyClick(form.Button1, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(nameOf(QApplication::focusWidget()), QStringLiteral("DBGrid1"));  // the navigator takes no focus
}

class RecordWindowTabOrder : public RecordWindowFixture {};

TEST_F(RecordWindowTabOrder, EmployeeWindow)
{
    showAndActivate(*form2);
    checkTabOrder(*form2, "DBEdit1 DBEdit2 DBEdit3 DBEdit4 DBEdit5 DBLookupComboBox1 DBLookupComboBox2 DBEdit6 "
                          "DBLookupComboBox3 DBLookupComboBox4 DBLookupComboBox5 DBLookupComboBox6 DBEdit7 "
                          "DBLookupComboBox7 RadioGroup1 Edit1 DBGrid1");
}

TEST_F(RecordWindowTabOrder, TransferWindow)
{
    showAndActivate(*form3);
    checkTabOrder(*form3,
                  "DBEdit1 DBEdit2 DBEdit3 DBLookupComboBox1 DBLookupComboBox2 DBLookupComboBox3 DBEdit4 DBEdit5 "
                  "DBEdit6 RadioGroup1 Edit1 DBGrid1");
}

}  // namespace
