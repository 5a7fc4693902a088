#pragma once
#include "MessageButton.h"
#include "MessageDialogType.h"

#include <QString>
#include <optional>

// Everything a TMessageForm is built from.
struct MessageFormPlan {
    QString text;
    QString caption;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons;
    std::optional<MessageButton> defaultButton;  // Enter
    std::optional<MessageButton> cancelButton;   // Escape
    std::optional<MessageButton> focusButton;    // focused when shown
    std::optional<int> closeResult;              // close box; none: close box does nothing

    // The message dialog of the given type: caption, icon, default and
    // cancel buttons by the dialog's rules; the close box gives Cancel.
    static MessageFormPlan dialog(const QString& text, MessageDialogType type, MessageButtons buttons);
    // The plain message box for the given flags (BoxFlags).
    static MessageFormPlan plain(const QString& text, const QString& caption, int flags);
};
