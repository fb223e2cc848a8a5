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
// Under the rules with lies, on the morning screen: a wolf claims to be the seer or the
// medium, and gives his verdict, black (a wolf) or white (human).
inline constexpr char KEY_CLAIM_SEER = 's';
inline constexpr char KEY_CLAIM_MEDIUM = 'm';
inline constexpr char KEY_BLACK = 'b';
inline constexpr char KEY_WHITE = 'w';
// Any other key: on a screen without a choice every key leads on, and a record writes
// them all as this one.
inline constexpr char KEY_ON = '.';

// What a typed key does: i j k l z r s m b w as themselves, their capitals as them, any
// other key as itself (a key without a meaning on the screens of choice).
constexpr int key_meaning(int key) {
    switch (key) {
    case 'I': return KEY_UP;
    case 'J': return KEY_LEFT;
    case 'K': return KEY_DOWN;
    case 'L': return KEY_RIGHT;
    case 'Z': return KEY_CHOOSE;
    case 'R': return KEY_AGAIN;
    case 'S': return KEY_CLAIM_SEER;
    case 'M': return KEY_CLAIM_MEDIUM;
    case 'B': return KEY_BLACK;
    case 'W': return KEY_WHITE;
    default: return key;
    }
}
