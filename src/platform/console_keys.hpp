// What a key event of the Windows console means to the game, as _getch would deliver it:
// the byte of a key with an ASCII character; one key without a meaning for a key with any
// other character (kana, kanji, a character outside the code page), for an arrow or
// function key and for Alt with a key; nothing for a key being released or a modifier on
// its own. Kept apart from the console so that it can be tested anywhere.
#pragma once

#include <cstdint>

// The fields of a KEY_EVENT_RECORD that matter.
struct ConsoleKeyEvent {
    bool key_down;
    std::uint16_t virtual_key;
    std::uint16_t character;  // UTF-16 code unit, 0 for none
    std::uint32_t control_state;
};

inline constexpr int CONSOLE_NO_KEY = -1;

// The key the event gives, or CONSOLE_NO_KEY.
int console_event_key(const ConsoleKeyEvent& event);
