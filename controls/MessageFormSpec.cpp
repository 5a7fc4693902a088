#include "MessageFormSpec.h"

#include "ApplicationTitle.h"
#include "BoxFlags.h"

namespace {
std::optional<MessageButton> firstShown(MessageButtons buttons, std::initializer_list<MessageButton> choices)
{
    for (MessageButton b : choices)
        if (buttons.contains(b))
            return b;
    return std::nullopt;
}

std::optional<MessageButton> firstButton(MessageButtons buttons)
{
    std::optional<MessageButton> first;
    buttons.forEach([&first](MessageButton b) {
        if (!first)
            first = b;
    });
    return first;
}

MessageButtons plainButtons(int flags)
{
    using B = MessageButton;
    switch (flags & BoxFlags::ButtonMask) {
    case BoxFlags::OkCancel: return {B::OK, B::Cancel};
    case BoxFlags::AbortRetryIgnore: return {B::Abort, B::Retry, B::Ignore};
    case BoxFlags::YesNoCancel: return {B::Yes, B::No, B::Cancel};
    case BoxFlags::YesNo: return {B::Yes, B::No};
    case BoxFlags::RetryCancel: return {B::Retry, B::Cancel};
    default: return {B::OK};
    }
}

MessageIcon plainIcon(int flags)
{
    switch (flags & BoxFlags::IconMask) {
    case BoxFlags::IconStop: return MessageIcon::Stop;
    case BoxFlags::IconQuestion: return MessageIcon::Question;
    case BoxFlags::IconExclamation: return MessageIcon::Exclamation;
    case BoxFlags::IconInformation: return MessageIcon::Information;
    default: return MessageIcon::None;
    }
}

std::optional<MessageButton> nthShown(MessageButtons buttons, int n)
{
    std::optional<MessageButton> found;
    int i = 0;
    buttons.forEach([&](MessageButton b) {
        if (i++ == n)
            found = b;
    });
    return found ? found : firstButton(buttons);
}
}

MessageFormSpec MessageFormSpec::dialog(const QString& text, MessageDialogType type, MessageButtons buttons)
{
    MessageFormSpec spec;
    spec.text = text;
    spec.buttons = buttons;
    switch (type) {
    case MessageDialogType::Warning:
        spec.caption = QStringLiteral("Warning");
        spec.icon = MessageIcon::Exclamation;
        break;
    case MessageDialogType::Error:
        spec.caption = QStringLiteral("Error");
        spec.icon = MessageIcon::Stop;
        break;
    case MessageDialogType::Information:
        spec.caption = QStringLiteral("Information");
        spec.icon = MessageIcon::Information;
        break;
    case MessageDialogType::Confirmation:
        spec.caption = QStringLiteral("Confirm");
        spec.icon = MessageIcon::Question;
        break;
    case MessageDialogType::Custom:
        spec.caption = ApplicationTitle::current();
        break;
    }
    using B = MessageButton;
    spec.defaultButton = firstShown(buttons, {B::OK, B::Yes, B::Retry});
    spec.cancelButton = firstShown(buttons, {B::Cancel, B::No, B::OK});
    spec.focusButton = firstButton(buttons);
    spec.closeResult = mrCancel;
    return spec;
}

MessageFormSpec MessageFormSpec::plain(const QString& text, const QString& caption, int flags)
{
    MessageFormSpec spec;
    spec.text = text;
    spec.caption = caption;
    spec.buttons = plainButtons(flags);
    spec.icon = plainIcon(flags);
    const int defaultIndex = (flags & BoxFlags::DefaultMask) >> 8;
    spec.defaultButton = nthShown(spec.buttons, defaultIndex);
    spec.focusButton = spec.defaultButton;
    // A box that can be cancelled closes with Cancel; one with OK alone
    // closes with OK; the others cannot be closed without an answer.
    using B = MessageButton;
    spec.cancelButton = firstShown(spec.buttons, {B::Cancel});
    if (!spec.cancelButton && spec.buttons.count() == 1)
        spec.cancelButton = B::OK;
    if (spec.cancelButton)
        spec.closeResult = MessageButtons::info(*spec.cancelButton).result;
    return spec;
}
