#include "ConfirmDelete.h"

#include "MessageBoxes.h"

bool ConfirmDelete(QWidget*, bool several)
{
    const QString text = several ? QStringLiteral("Delete all selected records?") : QStringLiteral("Delete record?");
    return MessageDlg(text, MessageDialogType::Confirmation, {MessageButton::OK, MessageButton::Cancel}) != mrCancel;
}
