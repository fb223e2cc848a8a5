#include "platform/console_keys.hpp"

#include "platform/console.hpp"

namespace {

// Values of the Windows headers, spelled out so that this file builds anywhere.
constexpr std::uint32_t RIGHT_ALT = 0x0001;
constexpr std::uint32_t LEFT_ALT = 0x0002;
constexpr std::uint32_t RIGHT_CTRL = 0x0004;
constexpr std::uint32_t LEFT_CTRL = 0x0008;
constexpr std::uint16_t VK_SHIFT_KEY = 0x10;
constexpr std::uint16_t VK_CONTROL_KEY = 0x11;
constexpr std::uint16_t VK_ALT_KEY = 0x12;
constexpr std::uint16_t VK_CAPS_LOCK = 0x14;
constexpr std::uint16_t VK_NUM_LOCK = 0x90;
constexpr std::uint16_t VK_SCROLL_LOCK = 0x91;

bool is_modifier(std::uint16_t key) {
    return key == VK_SHIFT_KEY || key == VK_CONTROL_KEY || key == VK_ALT_KEY ||
           key == VK_CAPS_LOCK || key == VK_NUM_LOCK || key == VK_SCROLL_LOCK ||
           (key >= 0xA0 && key <= 0xA5);  // left and right Shift, Ctrl, Alt
}

bool is_low_surrogate(std::uint16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

int console_event_key(const ConsoleKeyEvent& event) {
    if (!event.key_down || is_modifier(event.virtual_key)) return CONSOLE_NO_KEY;
    // The second half of a character outside the BMP: its first half was the key.
    if (is_low_surrogate(event.character)) return CONSOLE_NO_KEY;
    const bool alt = (event.control_state & (LEFT_ALT | RIGHT_ALT)) != 0;
    const bool ctrl = (event.control_state & (LEFT_CTRL | RIGHT_CTRL)) != 0;
    if (alt && !ctrl) return KEY_NO_MEANING;  // Alt with a key (AltGr is Ctrl and Alt)
    if (event.character == 0 || event.character >= 0x80) return KEY_NO_MEANING;
    return event.character;
}
