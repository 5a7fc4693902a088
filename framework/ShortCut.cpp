#include "ShortCut.h"

namespace {
struct NamedKey {
    std::uint8_t code;
    const char* name;
    Qt::Key key;
};

constexpr NamedKey namedKeys[] = {
    {0x08, "BkSp", Qt::Key_Backspace}, {0x09, "Tab", Qt::Key_Tab},     {0x0D, "Enter", Qt::Key_Return},
    {0x1B, "Esc", Qt::Key_Escape},     {0x20, "Space", Qt::Key_Space}, {0x21, "PgUp", Qt::Key_PageUp},
    {0x22, "PgDn", Qt::Key_PageDown},  {0x23, "End", Qt::Key_End},     {0x24, "Home", Qt::Key_Home},
    {0x25, "Left", Qt::Key_Left},      {0x26, "Up", Qt::Key_Up},       {0x27, "Right", Qt::Key_Right},
    {0x28, "Down", Qt::Key_Down},      {0x2D, "Ins", Qt::Key_Insert},  {0x2E, "Del", Qt::Key_Delete},
};

constexpr std::uint8_t firstFunctionKey = 0x70;  // F1
constexpr int functionKeys = 24;

bool isLetterOrDigit(std::uint8_t key)
{
    return (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z');
}
}  // namespace

QString ShortCut::keyName(std::uint8_t key)
{
    if (isLetterOrDigit(key))
        return QString(QLatin1Char(char(key)));
    if (key >= firstFunctionKey && key < firstFunctionKey + functionKeys)
        return QStringLiteral("F%1").arg(key - firstFunctionKey + 1);
    for (const NamedKey& named : namedKeys)
        if (named.code == key)
            return QString::fromLatin1(named.name);
    return QString();
}

QString ShortCut::text(std::uint16_t value)
{
    const QString name = keyName(std::uint8_t(value & 0xFF));
    if (name.isEmpty())
        return QString();
    QString text;
    if (value & shift)
        text += QStringLiteral("Shift+");
    if (value & ctrl)
        text += QStringLiteral("Ctrl+");
    if (value & alt)
        text += QStringLiteral("Alt+");
    return text + name;
}

QKeySequence ShortCut::keys(std::uint16_t value)
{
    const std::uint8_t code = std::uint8_t(value & 0xFF);
    int key = 0;
    if (isLetterOrDigit(code))
        key = code;  // the virtual codes of letters and digits are their Qt keys
    else if (code >= firstFunctionKey && code < firstFunctionKey + functionKeys)
        key = Qt::Key_F1 + (code - firstFunctionKey);
    else
        for (const NamedKey& named : namedKeys)
            if (named.code == code)
                key = named.key;
    if (key == 0)
        return QKeySequence();
    int modifiers = 0;
    if (value & shift)
        modifiers |= Qt::SHIFT;
    if (value & ctrl)
        modifiers |= Qt::CTRL;
    if (value & alt)
        modifiers |= Qt::ALT;
    return QKeySequence(key | modifiers);
}
