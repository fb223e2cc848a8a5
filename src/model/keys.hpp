// The game's keys by what they do, and how records spell them. The screens name the
// letters in capitals ("JKIL", "Press R"): an upper-case letter acts as its lower-case
// key, and a record keeps each key as it was typed.
#pragma once

inline constexpr char KEY_UP = 'i';
inline constexpr char KEY_LEFT = 'j';
inline constexpr char KEY_DOWN = 'k';
inline constexpr char KEY_RIGHT = 'l';
inline constexpr char KEY_CHOOSE = 'z';
inline constexpr char KEY_AGAIN = 'r';  // a new game, once a game is decided
// Any other key: on a screen without a choice every key leads on, and a record writes
// them all as this one.
inline constexpr char KEY_ON = '.';

// What a typed key does: i j k l z r as themselves, their capitals as them, any other key
// as itself (a key without a meaning on the screens of choice).
constexpr int key_meaning(int key) {
    switch (key) {
    case 'I': return KEY_UP;
    case 'J': return KEY_LEFT;
    case 'K': return KEY_DOWN;
    case 'L': return KEY_RIGHT;
    case 'Z': return KEY_CHOOSE;
    case 'R': return KEY_AGAIN;
    default: return key;
    }
}
