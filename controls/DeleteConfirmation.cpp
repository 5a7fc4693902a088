#include "DeleteConfirmation.h"

#include "MessageBoxes.h"

bool confirmRecordDeletion()
{
    const int answer = MessageDlg(QStringLiteral("Delete record?"), MessageDialogType::Confirmation,
                                  {MessageButton::OK, MessageButton::Cancel});
    return answer != mrCancel;
}
