#pragma once
#include <QString>
#include <array>
#include <initializer_list>

// The buttons a message dialog can show, in the fixed order they are laid
// out, with the control name, caption and result code of each.
enum class MessageButton { Yes, No, OK, Cancel, Abort, Retry, Ignore, All, NoToAll, YesToAll, Help };

// Result codes returned by the boxes.
enum MessageResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
    mrNoToAll = 9,
    mrYesToAll = 10
};

struct MessageButtonInfo {
    const char* name;
    const char* caption;  // "&" marks the accelerator
    int result;           // 0 for Help, which never closes the dialog
};

// A set of buttons; iteration always follows the fixed order.
class MessageButtons {
public:
    MessageButtons() = default;
    MessageButtons(std::initializer_list<MessageButton> buttons);

    static constexpr int kindCount = 11;
    static const MessageButtonInfo& info(MessageButton button);

    bool contains(MessageButton button) const;
    bool empty() const { return bits_ == 0; }
    int count() const;
    template <class F>
    void forEach(F f) const
    {
        for (int i = 0; i < kindCount; ++i)
            if (bits_ & (1u << i))
                f(MessageButton(i));
    }

private:
    unsigned bits_ = 0;
};
