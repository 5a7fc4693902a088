#pragma once

// Flags of the plain message box: the button set in the low nibble, the icon
// in the next one, the default button above that.
namespace BoxFlags {
constexpr int Ok = 0x0;
constexpr int OkCancel = 0x1;
constexpr int AbortRetryIgnore = 0x2;
constexpr int YesNoCancel = 0x3;
constexpr int YesNo = 0x4;
constexpr int RetryCancel = 0x5;
constexpr int ButtonMask = 0xF;

constexpr int IconStop = 0x10;
constexpr int IconQuestion = 0x20;
constexpr int IconExclamation = 0x30;
constexpr int IconInformation = 0x40;
constexpr int IconMask = 0xF0;

constexpr int DefaultButton2 = 0x100;
constexpr int DefaultButton3 = 0x200;
constexpr int DefaultMask = 0xF00;

constexpr int TaskModal = 0x2000;
}  // namespace BoxFlags
