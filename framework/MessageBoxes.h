#pragma once
#include "MessageButton.h"
#include "MessageDialogType.h"

#include <QString>

// The boxes every message reaches the user through. All are modal and
// return only when the user has answered.

// The message dialog; helpContext is always 0 in this program.
int MessageDlg(const QString& text, MessageDialogType type, MessageButtons buttons, int helpContext = 0);

// The information box: no icon, the application title, a single "OK".
void ShowMessage(const QString& text);

// The plain message box with the caller's caption and flags (BoxFlags).
// The active window and its focus come back afterwards.
int ShowMessageBox(const QString& text, const QString& caption, int flags);
