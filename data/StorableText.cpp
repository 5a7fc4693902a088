#include "StorableText.h"

#include "UnicodeText.h"

#include <cstdio>

namespace {

std::string hexByte(unsigned value)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}

}  // namespace

std::string StorableText::problem(const std::string& text)
{
    size_t valid = UnicodeText::validUtf8Length(text);
    if (valid < text.size())
        return "is not UTF-8 (byte " + hexByte(static_cast<unsigned char>(text[valid])) + " at byte " +
               std::to_string(valid + 1) + ")";
    size_t character = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0) != 0x80)
            ++character;
        char32_t control = byte;
        // C1 controls are U+0080 to U+009F: 0xC2 followed by 0x80 to 0x9F.
        if (byte == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xA0)
            control = static_cast<unsigned char>(text[i + 1]);
        else if (byte >= 0x80)
            continue;
        if (control != U'\t' && UnicodeText::isControl(control))
            return "holds the control character " +
                   (control < 0x80 ? hexByte(control) : "U+00" + hexByte(control).substr(2)) + " at character " +
                   std::to_string(character);
    }
    return std::string();
}

std::string StorableText::problemIn(const TableDescription& description, const std::vector<FieldValue>& values)
{
    for (size_t i = 0; i < values.size() && i < description.fields.size(); ++i) {
        if (!values[i])
            continue;
        std::string why = problem(*values[i]);
        if (!why.empty())
            return "Field '" + description.fields[i].name + "' " + why +
                   "; a text field takes UTF-8 text of printable characters and tab.";
    }
    return std::string();
}
