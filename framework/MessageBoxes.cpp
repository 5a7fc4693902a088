#include "MessageBoxes.h"

#include "TMessageForm.h"

#include <QApplication>
#include <QPointer>

int MessageDlg(const QString& text, MessageDialogType type, MessageButtons buttons, int /*helpContext*/)
{
    TMessageForm form(MessageFormPlan::dialog(text, type, buttons));
    return form.run();
}

void ShowMessage(const QString& text)
{
    MessageDlg(text, MessageDialogType::Custom, {MessageButton::OK});
}

int ShowMessageBox(const QString& text, const QString& caption, int flags)
{
    QPointer<QWidget> active = QApplication::activeWindow();
    QPointer<QWidget> focus = QApplication::focusWidget();
    int result;
    {
        TMessageForm form(MessageFormPlan::plain(text, caption, flags));
        result = form.run();
    }
    if (active)
        active->activateWindow();
    if (focus)
        focus->setFocus();
    return result;
}
