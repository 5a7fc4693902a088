#pragma once
#include <string>
#include <string_view>

// UTF-8 texts of the engine to and from the UTF-16 of page pictures.
// Malformed input bytes become U+FFFD; nothing is dropped silently.
std::u16string utf8ToUtf16(std::string_view text);
// The same into `out`, reusing its room.
void utf8ToUtf16(std::string_view text, std::u16string& out);
std::string utf16ToUtf8(std::u16string_view text);
