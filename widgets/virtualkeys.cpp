#include "virtualkeys.h"

#include <array>

namespace {

// A run of keys that are consecutive both as toolkit keys and as virtual-key codes; most runs
// are one key long. Several toolkit keys may share a code (a symbol and its shifted symbol);
// the first row holding a code names it.
struct TKeyRow
{
    int qtKey;
    int count;
    bool keypad;        // applies only to keys marked with Qt::KeypadModifier
    std::uint16_t vk;
    const char *name;   // nullptr: the key's own character; with a numbered run: the prefix
    int firstNumber;    // number of a numbered run's first key; -1 for the others
};

constexpr TKeyRow Run(int qtKey, int count, std::uint16_t vk, const char *name = nullptr, int firstNumber = -1)
{
    return {qtKey, count, false, vk, name, firstNumber};
}
constexpr TKeyRow Key(int qtKey, std::uint16_t vk, const char *name = nullptr)
{
    return {qtKey, 1, false, vk, name, -1};
}
constexpr TKeyRow Pad(int qtKey, int count, std::uint16_t vk, const char *name, int firstNumber = -1)
{
    return {qtKey, count, true, vk, name, firstNumber};
}

constexpr auto kKeyTable = std::to_array<TKeyRow>({
    Pad(Qt::Key_0, 10, VK_NUMPAD0, "Num ", 0),
    Pad(Qt::Key_Asterisk, 1, 0x6A, "Num *"),
    Pad(Qt::Key_Plus, 1, 0x6B, "Num +"),
    Pad(Qt::Key_Minus, 1, 0x6D, "Num -"),
    Pad(Qt::Key_Period, 1, 0x6E, "Num ."),
    Pad(Qt::Key_Comma, 1, 0x6E, "Num ."),
    Pad(Qt::Key_Slash, 1, 0x6F, "Num /"),

    Run(Qt::Key_A, 26, VK_A),
    Run(Qt::Key_0, 10, VK_0),
    Run(Qt::Key_F1, 24, VK_F1, "F", 1),

    Key(Qt::Key_Backspace, VK_BACK, "BkSp"),
    Key(Qt::Key_Tab, VK_TAB, "Tab"),
    Key(Qt::Key_Backtab, VK_TAB, "Tab"),   // Qt's name for Shift+Tab
    Key(Qt::Key_Clear, 0x0C, "Clear"),
    Key(Qt::Key_Return, VK_RETURN, "Enter"),
    Key(Qt::Key_Enter, VK_RETURN, "Enter"),
    Key(Qt::Key_Shift, VK_SHIFT, "Shift"),
    Key(Qt::Key_Control, VK_CONTROL, "Ctrl"),
    Key(Qt::Key_Alt, VK_MENU, "Alt"),
    Key(Qt::Key_AltGr, VK_MENU, "Alt"),
    Key(Qt::Key_Pause, 0x13, "Pause"),
    Key(Qt::Key_CapsLock, 0x14, "Caps Lock"),
    Key(Qt::Key_Escape, VK_ESCAPE, "Esc"),
    Key(Qt::Key_Space, VK_SPACE, "Space"),
    Key(Qt::Key_PageUp, VK_PRIOR, "PgUp"),
    Key(Qt::Key_PageDown, VK_NEXT, "PgDn"),
    Key(Qt::Key_End, VK_END, "End"),
    Key(Qt::Key_Home, VK_HOME, "Home"),
    Key(Qt::Key_Left, VK_LEFT, "Left"),
    Key(Qt::Key_Up, VK_UP, "Up"),
    Key(Qt::Key_Right, VK_RIGHT, "Right"),
    Key(Qt::Key_Down, VK_DOWN, "Down"),
    Key(Qt::Key_Select, 0x29, "Select"),
    Key(Qt::Key_Execute, 0x2B, "Execute"),
    Key(Qt::Key_Print, 0x2C, "Print Screen"),
    Key(Qt::Key_Insert, VK_INSERT, "Ins"),
    Key(Qt::Key_Delete, VK_DELETE, "Del"),
    Key(Qt::Key_Help, 0x2F, "Help"),
    Key(Qt::Key_Super_L, 0x5B, "Left Windows"),
    Key(Qt::Key_Meta, 0x5B, "Left Windows"),
    Key(Qt::Key_Super_R, 0x5C, "Right Windows"),
    Key(Qt::Key_Menu, 0x5D, "Application"),
    Key(Qt::Key_NumLock, 0x90, "Num Lock"),
    Key(Qt::Key_ScrollLock, 0x91, "Scroll Lock"),

    Key(Qt::Key_ParenRight, VK_0 + 0),
    Key(Qt::Key_Exclam, VK_0 + 1),
    Key(Qt::Key_At, VK_0 + 2),
    Key(Qt::Key_NumberSign, VK_0 + 3),
    Key(Qt::Key_Dollar, VK_0 + 4),
    Key(Qt::Key_Percent, VK_0 + 5),
    Key(Qt::Key_AsciiCircum, VK_0 + 6),
    Key(Qt::Key_Ampersand, VK_0 + 7),
    Key(Qt::Key_Asterisk, VK_0 + 8),
    Key(Qt::Key_ParenLeft, VK_0 + 9),
    Key(Qt::Key_Semicolon, 0xBA, ";"),
    Key(Qt::Key_Colon, 0xBA, ";"),
    Key(Qt::Key_Equal, 0xBB, "="),
    Key(Qt::Key_Plus, 0xBB, "="),
    Key(Qt::Key_Comma, 0xBC, ","),
    Key(Qt::Key_Less, 0xBC, ","),
    Key(Qt::Key_Minus, 0xBD, "-"),
    Key(Qt::Key_Underscore, 0xBD, "-"),
    Key(Qt::Key_Period, 0xBE, "."),
    Key(Qt::Key_Greater, 0xBE, "."),
    Key(Qt::Key_Slash, 0xBF, "/"),
    Key(Qt::Key_Question, 0xBF, "/"),
    Key(Qt::Key_QuoteLeft, 0xC0, "`"),
    Key(Qt::Key_AsciiTilde, 0xC0, "`"),
    Key(Qt::Key_BracketLeft, 0xDB, "["),
    Key(Qt::Key_BraceLeft, 0xDB, "["),
    Key(Qt::Key_Backslash, 0xDC, "\\"),
    Key(Qt::Key_Bar, 0xDC, "\\"),
    Key(Qt::Key_BracketRight, 0xDD, "]"),
    Key(Qt::Key_BraceRight, 0xDD, "]"),
    Key(Qt::Key_Apostrophe, 0xDE, "'"),
    Key(Qt::Key_QuoteDbl, 0xDE, "'"),
});

const TKeyRow *RowOfQtKey(int qtKey, bool keypad)
{
    for (const TKeyRow &row : kKeyTable) {
        if (row.keypad == keypad && qtKey >= row.qtKey && qtKey < row.qtKey + row.count)
            return &row;
    }
    return nullptr;
}

QString KeyName(std::uint16_t key)
{
    for (const TKeyRow &row : kKeyTable) {
        const int offset = key - row.vk;
        if (offset < 0 || offset >= row.count)
            continue;
        if (!row.name)
            return QString(QChar(key));
        if (row.firstNumber < 0)
            return QString::fromLatin1(row.name);
        return QString::fromLatin1(row.name) + QString::number(row.firstNumber + offset);
    }
    return {};
}

} // namespace

std::uint16_t VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers)
{
    const TKeyRow *row = nullptr;
    if (modifiers.testFlag(Qt::KeypadModifier))
        row = RowOfQtKey(qtKey, true);
    if (!row)
        row = RowOfQtKey(qtKey, false);
    return row ? static_cast<std::uint16_t>(row->vk + (qtKey - row->qtKey)) : 0;
}

TShiftState ShiftStateFromQt(Qt::KeyboardModifiers modifiers)
{
    TShiftState shift;
    shift.setFlag(ssShift, modifiers.testFlag(Qt::ShiftModifier));
    shift.setFlag(ssCtrl, modifiers.testFlag(Qt::ControlModifier));
    shift.setFlag(ssAlt, modifiers.testFlag(Qt::AltModifier));
    return shift;
}

QString ShortCutToText(std::uint16_t key, TShiftState shift)
{
    if (key & 0xFF00)
        return {};
    const QString name = KeyName(key);
    if (name.isEmpty())
        return {};
    QString text;
    if (shift.testFlag(ssShift))
        text += QLatin1String("Shift+");
    if (shift.testFlag(ssCtrl))
        text += QLatin1String("Ctrl+");
    if (shift.testFlag(ssAlt))
        text += QLatin1String("Alt+");
    return text + name;
}
