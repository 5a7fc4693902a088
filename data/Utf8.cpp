#include "Utf8.h"

namespace {

bool continuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

} // namespace

size_t Utf8::length(const std::string& text)
{
    size_t count = 0;
    for (unsigned char byte : text)
        if (!continuation(byte))
            ++count;
    return count;
}

std::string Utf8::left(const std::string& text, size_t count)
{
    size_t seen = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (continuation(static_cast<unsigned char>(text[i])))
            continue;
        if (seen++ == count)
            return text.substr(0, i);
    }
    return text;
}
