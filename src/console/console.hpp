// The console: the process's standard input and output, and the operations the game
// draws and reads keys with. Drawing goes into the in-memory screen; the platform back
// end sends that screen to the real terminal when a key is about to be read.
#pragma once

#include "console/screen.hpp"

#ifdef _WIN32
using ConsoleHandle = void*;  // a Windows HANDLE
#else
using ConsoleHandle = int;  // a file descriptor
#endif

struct Console {
    ConsoleHandle input;
    ConsoleHandle output;
    Screen screen;
};

// What console_read_key returns when input has ended (end of file, a closed terminal).
inline constexpr int KEY_END_OF_INPUT = -1;
// What console_read_key returns for a key that is several bytes long (an arrow key, a
// function key, a non-ASCII character): one key press without a meaning.
inline constexpr int KEY_NO_MEANING = 0x1B;

// The process-wide console, opened during static initialisation and closed at exit.
Console& process_console();

// Takes the standard handles, puts the terminal into the mode the game plays in, and
// arranges for console_close to run at exit.
void console_open(Console& console);

// Gives the terminal back as it was.
void console_close(Console& console);

// Erases the whole screen (in the current attribute) and puts the cursor at the top left.
void console_clear(Console& console);

// Places the cursor: column x and row y, from 0 at the top left.
void console_move(Console& console, int x, int y);

// Sets the colour attribute of everything printed next.
void console_set_attr(Console& console, int attr);

// Prints Shift-JIS text at the cursor.
void console_print(Console& console, const char* text);

// Prints formatted Shift-JIS text at the cursor; field widths count bytes.
void console_printf(Console& console, const char* format, ...);

// Shows the screen and waits for one key: its byte, KEY_NO_MEANING, or KEY_END_OF_INPUT.
int console_read_key(const Console& console);
