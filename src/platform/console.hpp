// The platform's contract: the process's console (a terminal, the Windows console, or
// plain output), which shows the screen the game was drawn into and reads keys. Each back
// end (posix/, windows/) implements these operations; the web page has a driver of its
// own and none of them.
#pragma once

#include "draw/screen.hpp"

// The process-wide console: the screen it shows when a key is about to be read.
struct Console {
    Screen screen;
};

// What console_read_key returns when input has ended (end of file, Ctrl-D): the game is
// over and the process ends normally.
inline constexpr int KEY_END_OF_INPUT = -1;
// What console_read_key returns when reading or writing failed: the game cannot go on.
inline constexpr int KEY_INPUT_FAILED = -2;
// What console_read_key_within returns when no key came in time.
inline constexpr int KEY_TIMEOUT = -3;
// What a key that is several bytes long (an arrow key, a function key, a non-ASCII
// character) is: one key press without a meaning.
inline constexpr int KEY_NO_MEANING = 0x1B;

// How wide the game takes the terminal to draw the box-drawing lines ─ │ ┐ └ ┘.
inline constexpr int AMBIGUOUS_ASK_TERMINAL = 0;  // find out at start
inline constexpr int AMBIGUOUS_NARROW = 1;        // one column
inline constexpr int AMBIGUOUS_WIDE = 2;          // two columns

// After KEY_INPUT_FAILED, what failed.
inline constexpr int CONSOLE_READ_FAILED = 1;
inline constexpr int CONSOLE_WRITE_FAILED = 2;

// The process-wide console, opened during static initialisation and closed at exit.
Console& process_console();

// Takes the standard handles and arranges for console_close to run at exit. Changes
// nothing else: the terminal keeps its mode until console_start.
void console_open();

// Puts the terminal into the mode the game plays in (keys without echo, the game's own
// screen) and lays out for the given ambiguous width, asking the terminal if need be.
// too_small is what the screen shows instead of the game while the window is smaller
// than the game (Shift-JIS, kept by the caller for as long as the console runs).
void console_start(int ambiguous_columns, const char* too_small);

// Gives the terminal back as it was (its mode, its screen, the cursor), for good: nothing
// more is drawn. Safe to call more than once.
void console_restore();

// Gives the terminal back as it was and lets go of the handles.
void console_close();

// True when the user's language is Japanese: the messages then speak it.
bool console_speaks_japanese();

// True when standard error is a terminal, where progress may be shown.
bool console_error_is_terminal();

// True when a line on standard error would not land on the game's screen: standard error
// is no terminal, or the game draws on none.
bool console_error_beside_screen();

// From now on an interrupt (Ctrl-C, or a request to terminate) does not end the process:
// it is noted, for console_interrupted. For work that ends itself, keeping what it did.
void console_catch_interrupt();
bool console_interrupted();

// Writes a message (Shift-JIS text, newlines included) to standard output, or to standard
// error, in the terminal's codeset. For what is said before or instead of a game. False
// when it could not be written (errno says why): an output that was closed when the
// process started cannot be written (EBADF).
bool console_message(const char* text, bool to_error);

// Keeps a message (Shift-JIS) ready for standard error, for when nothing more can be
// allocated; console_last_words gives the terminal back and writes it, allocating nothing.
void console_keep_last_words(const char* text);
void console_last_words();

// After KEY_INPUT_FAILED: what failed, CONSOLE_READ_FAILED or CONSOLE_WRITE_FAILED (0 when
// nothing has), with the errno of the call in error.
int console_failure(int& error);

// Shows the screen and waits for one key: its byte, KEY_NO_MEANING, KEY_END_OF_INPUT or
// KEY_INPUT_FAILED.
int console_read_key(const Console& console);

// The same, waiting at most timeout_ms for the key: KEY_TIMEOUT when none came.
int console_read_key_within(const Console& console, int timeout_ms);
