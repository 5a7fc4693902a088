#include "MessageButton.h"

namespace {
const std::array<MessageButtonInfo, MessageButtons::kindCount> table{{
    {"Yes", "&Yes", mrYes},
    {"No", "&No", mrNo},
    {"OK", "OK", mrOk},
    {"Cancel", "Cancel", mrCancel},
    {"Abort", "&Abort", mrAbort},
    {"Retry", "&Retry", mrRetry},
    {"Ignore", "&Ignore", mrIgnore},
    {"All", "&All", mrAll},
    {"NoToAll", "N&o to All", mrNoToAll},
    {"YesToAll", "Yes to &All", mrYesToAll},
    {"Help", "&Help", mrNone},
}};
}  // namespace

MessageButtons::MessageButtons(std::initializer_list<MessageButton> buttons)
{
    for (MessageButton b : buttons)
        bits_ |= 1u << int(b);
}

const MessageButtonInfo& MessageButtons::info(MessageButton button)
{
    return table[std::size_t(button)];
}

bool MessageButtons::contains(MessageButton button) const
{
    return bits_ & (1u << int(button));
}

int MessageButtons::count() const
{
    int n = 0;
    forEach([&n](MessageButton) { ++n; });
    return n;
}
