#pragma once

#include <QFlags>
#include <QString>
#include <Qt>

#include <cstdint>

// The modifier keys that a key handler is told about.
enum TShiftStateFlag : std::uint8_t { ssShift = 0x01, ssAlt = 0x02, ssCtrl = 0x04 };
Q_DECLARE_FLAGS(TShiftState, TShiftStateFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TShiftState)

// Virtual-key codes of the platform the program was first written for. Key handlers speak in
// these codes so that a key keeps one number whatever the toolkit or the keyboard layout calls it.
inline constexpr std::uint16_t VK_BACK = 0x08;
inline constexpr std::uint16_t VK_TAB = 0x09;
inline constexpr std::uint16_t VK_RETURN = 0x0D;
inline constexpr std::uint16_t VK_SHIFT = 0x10;
inline constexpr std::uint16_t VK_CONTROL = 0x11;
inline constexpr std::uint16_t VK_MENU = 0x12;
inline constexpr std::uint16_t VK_ESCAPE = 0x1B;
inline constexpr std::uint16_t VK_SPACE = 0x20;
inline constexpr std::uint16_t VK_PRIOR = 0x21;
inline constexpr std::uint16_t VK_NEXT = 0x22;
inline constexpr std::uint16_t VK_END = 0x23;
inline constexpr std::uint16_t VK_HOME = 0x24;
inline constexpr std::uint16_t VK_LEFT = 0x25;
inline constexpr std::uint16_t VK_UP = 0x26;
inline constexpr std::uint16_t VK_RIGHT = 0x27;
inline constexpr std::uint16_t VK_DOWN = 0x28;
inline constexpr std::uint16_t VK_INSERT = 0x2D;
inline constexpr std::uint16_t VK_DELETE = 0x2E;
inline constexpr std::uint16_t VK_0 = 0x30;   // '0' to '9' are 0x30 to 0x39
inline constexpr std::uint16_t VK_A = 0x41;   // 'A' to 'Z' are 0x41 to 0x5A
inline constexpr std::uint16_t VK_NUMPAD0 = 0x60;
inline constexpr std::uint16_t VK_F1 = 0x70;  // F1 to F24 are 0x70 to 0x87
inline constexpr std::uint16_t VK_F2 = 0x71;
inline constexpr std::uint16_t VK_F3 = 0x72;
inline constexpr std::uint16_t VK_F4 = 0x73;
inline constexpr std::uint16_t VK_F24 = 0x87;

// The virtual-key code of a toolkit key, or 0 for a key that has none (dead keys, letters of
// national layouts). Qt::KeypadModifier selects the numeric keypad's codes where they differ.
// Shifted symbols map to the key that carries them on a US layout ('!' is the key '1').
std::uint16_t VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers);

// Shift, Ctrl and Alt of a toolkit key event; no other modifier is reported.
TShiftState ShiftStateFromQt(Qt::KeyboardModifiers modifiers);

// The text a menu shows for a shortcut: "Shift+", "Ctrl+", "Alt+" for the modifiers held, in this
// order, then the key's name ("F1", "A", "Del"). Empty for a key without a name, including every
// code whose high byte is not zero.
QString ShortCutToText(std::uint16_t key, TShiftState shift);
