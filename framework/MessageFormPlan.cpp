#include "MessageFormPlan.h"

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
    case BoxFlags::OkCancel:
        return {B::OK, B::Cancel};
    case BoxFlags::AbortRetryIgnore:
        return {B::Abort, B::Retry, B::Ignore};
    case BoxFlags::YesNoCancel:
        return {B::Yes, B::No, B::Cancel};
    case BoxFlags::YesNo:
        return {B::Yes, B::No};
    case BoxFlags::RetryCancel:
        return {B::Retry, B::Cancel};
    default:
        return {B::OK};
    }
}

MessageIcon plainIcon(int flags)
{
    switch (flags & BoxFlags::IconMask) {
    case BoxFlags::IconStop:
        return MessageIcon::Stop;
    case BoxFlags::IconQuestion:
        return MessageIcon::Question;
    case BoxFlags::IconExclamation:
        return MessageIcon::Exclamation;
    case BoxFlags::IconInformation:
        return MessageIcon::Information;
    default:
        return MessageIcon::None;
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
}  // namespace

MessageFormPlan MessageFormPlan::dialog(const QString& text, MessageDialogType type, MessageButtons buttons)
{
    MessageFormPlan plan;
    plan.text = text;
    plan.buttons = buttons;
    switch (type) {
    case MessageDialogType::Warning:
        plan.caption = QStringLiteral("Warning");
        plan.icon = MessageIcon::Exclamation;
        break;
    case MessageDialogType::Error:
        plan.caption = QStringLiteral("Error");
        plan.icon = MessageIcon::Stop;
        break;
    case MessageDialogType::Information:
        plan.caption = QStringLiteral("Information");
        plan.icon = MessageIcon::Information;
        break;
    case MessageDialogType::Confirmation:
        plan.caption = QStringLiteral("Confirm");
        plan.icon = MessageIcon::Question;
        break;
    case MessageDialogType::Custom:
        plan.caption = ApplicationTitle::current();
        break;
    }
    using B = MessageButton;
    plan.defaultButton = firstShown(buttons, {B::OK, B::Yes, B::Retry});
    plan.cancelButton = firstShown(buttons, {B::Cancel, B::No, B::OK});
    // A box with one answer takes Escape as that answer, as every other
    // box takes it as its way out.
    if (!plan.cancelButton && buttons.count() == 1)
        plan.cancelButton = firstButton(buttons);
    plan.focusButton = firstButton(buttons);
    plan.closeResult = mrCancel;
    return plan;
}

MessageFormPlan MessageFormPlan::plain(const QString& text, const QString& caption, int flags)
{
    MessageFormPlan plan;
    plan.text = text;
    plan.caption = caption;
    plan.buttons = plainButtons(flags);
    plan.icon = plainIcon(flags);
    const int defaultIndex = (flags & BoxFlags::DefaultMask) >> 8;
    plan.defaultButton = nthShown(plan.buttons, defaultIndex);
    plan.focusButton = plan.defaultButton;
    // A box that can be cancelled closes with Cancel; one with OK alone
    // closes with OK; the others cannot be closed without an answer.
    using B = MessageButton;
    plan.cancelButton = firstShown(plan.buttons, {B::Cancel});
    if (!plan.cancelButton && plan.buttons.count() == 1)
        plan.cancelButton = B::OK;
    if (plan.cancelButton)
        plan.closeResult = MessageButtons::info(*plan.cancelButton).result;
    return plan;
}
