// The terminal's escape sequences, each named once. Plain constant arrays, so that a
// signal handler may write them. Entering and leaving the game's screen mirror each
// other: what enter switches on, leave switches off in the reverse order.
#pragma once

namespace vt {

// The alternate screen, then the cursor hidden.
inline constexpr char ENTER[] = "\x1b[?1049h\x1b[?25l";
// Default colours, the cursor shown, then the main screen back.
inline constexpr char LEAVE[] = "\x1b[0m\x1b[?25h\x1b[?1049l";
// The cursor home and the whole screen erased, in the colours as they are.
inline constexpr char ERASE[] = "\x1b[H\x1b[2J";
// The same in the default colours.
inline constexpr char CLEAR[] = "\x1b[0m\x1b[H\x1b[2J";
// Asks where the cursor is; the terminal answers ESC [ row ; column R.
inline constexpr char ASK_POSITION[] = "\x1b[6n";
// Printf formats: the cursor to row and column (from 1), and a foreground colour.
inline constexpr char MOVE_FORMAT[] = "\x1b[%d;%dH";
inline constexpr char COLOUR_FORMAT[] = "\x1b[%dm";

}  // namespace vt
