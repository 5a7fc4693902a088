#pragma once
#include <QKeySequence>
#include <QString>
#include <cstdint>

// A menu short-cut as one 16-bit value: the low byte is the virtual key
// code, and three high bits add Shift, Ctrl and Alt.
class ShortCut {
public:
    static constexpr std::uint16_t shift = 0x2000;
    static constexpr std::uint16_t ctrl = 0x4000;
    static constexpr std::uint16_t alt = 0x8000;

    // "Shift+", "Ctrl+", "Alt+" (each only when its bit is set, in that
    // order) and the key's name: 16464 -> "Ctrl+P", 49232 -> "Ctrl+Alt+P".
    // Empty for 0.
    static QString text(std::uint16_t value);
    // The name of a virtual key code: letters and digits as themselves,
    // "F1".."F24", and the names of the editing and movement keys.
    static QString keyName(std::uint8_t key);
    // The key sequence that triggers the short-cut.
    static QKeySequence keys(std::uint16_t value);
};
