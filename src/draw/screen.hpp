// The in-memory screen that the game is drawn into: rows of cells counted in Shift-JIS
// bytes, each with one colour attribute. A double-byte character takes two cells, its
// lead byte and its trail byte. Drawing places a cursor, sets a colour and prints, as on
// a console; a platform back end sends the screen to the real terminal, the page draws
// its cells itself, and tests read it directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "model/sjis.hpp"

inline constexpr int SCREEN_COLUMNS = 76;
inline constexpr int SCREEN_ROWS = 24;

// Console character attributes: 1 blue, 2 green, 4 red, 8 bright, on black.
inline constexpr int ATTR_GREY = 7;
inline constexpr int ATTR_BRIGHT_GREEN = 10;
inline constexpr int ATTR_BRIGHT_CYAN = 11;
inline constexpr int ATTR_BRIGHT_RED = 12;
inline constexpr int ATTR_BRIGHT_MAGENTA = 13;
inline constexpr int ATTR_BRIGHT_WHITE = 15;

inline constexpr std::uint8_t CELL_SINGLE = 0;  // a one-byte character
inline constexpr std::uint8_t CELL_LEAD = 1;    // first half of a double-byte character
inline constexpr std::uint8_t CELL_TRAIL = 2;   // second half

struct Cell {
    char byte;
    std::uint8_t attr;
    std::uint8_t part;
};

struct Screen {
    Cell cells[SCREEN_ROWS][SCREEN_COLUMNS];
    int cursor_x;
    int cursor_y;
    int attr;
};

// Blank cells in the current attribute; the cursor goes home.
void screen_clear(Screen& screen);

// Places the cursor: column x and row y, from 0 at the top left.
void screen_move(Screen& screen, int x, int y);

// Sets the colour attribute of everything printed next.
void screen_set_attr(Screen& screen, int attr);

// Prints Shift-JIS text at the cursor.
void screen_print(Screen& screen, const char* text);

// Prints formatted Shift-JIS text at the cursor; field widths count bytes.
void screen_printf(Screen& screen, const char* format, ...);

// Writes Shift-JIS bytes at the cursor, which moves on behind them. A newline goes to
// column 0 of the next row; text past the right or bottom edge is dropped, and a
// character is never split across the edge. Overwriting half of a double-byte character
// blanks its other half.
void screen_write(Screen& screen, const char* text, std::size_t length);

// The bytes of one row, as they stand (Shift-JIS), trailing blanks included.
std::string screen_row(const Screen& screen, int row);

// True when two cells look the same on a terminal: a blank's colour does not show.
bool cells_look_alike(const Cell& a, const Cell& b);

// How many cells the character starting at row[x] takes: 2 for a lead byte, else 1. A
// lead byte in the last column (which the screen never writes) is one cell: nothing is
// read or drawn past the right edge.
inline int glyph_cells(const Cell* row, int x) {
    return row[x].part == CELL_LEAD && x + 1 < SCREEN_COLUMNS ? 2 : 1;
}

// The ambiguous class (sjis::ambiguous_class) of the character that starts at row[x]; 0
// for a one-cell character.
inline int glyph_ambiguous_class(const Cell* row, int x) {
    if (glyph_cells(row, x) != 2) return 0;
    return sjis::ambiguous_class(static_cast<unsigned char>(row[x].byte),
                                 static_cast<unsigned char>(row[x + 1].byte));
}
