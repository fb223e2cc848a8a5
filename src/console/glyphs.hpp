// How a cell of the Shift-JIS screen is spelled for a terminal: UTF-8 or Shift-JIS bytes,
// with the East Asian ambiguous-width characters (the box-drawing lines) padded to two
// columns where the terminal draws them one column wide.
#pragma once

#include <string>

#include "console/screen.hpp"

inline constexpr int OUTPUT_UTF8 = 0;
inline constexpr int OUTPUT_SHIFT_JIS = 1;

// 0 for a character of fixed width; 1 ambiguous; 2 ambiguous line joining to the right
// (padded with ─); 3 the same, heavy (padded with ━).
int ambiguous_class(unsigned char lead, unsigned char trail);

// The ambiguous class of the character that starts at row[x]; 0 for a one-cell character.
int glyph_ambiguous_class(const Cell* row, int x);

// Appends the character that starts at cells[x] of a row: one cell, or two for a
// double-byte character. Control bytes and bytes that stand for no character come out as
// "?", so nothing on the screen can reach the terminal as a control sequence. Returns the
// ambiguous class of the character (0 for one cell).
int append_glyph(std::string& out, const Cell* row, int x, int encoding, int ambiguous_columns);

// Appends a Unicode character as UTF-8.
void append_utf8(std::string& out, char32_t c);

// How many cells the character starting at row[x] takes: 2 for a lead byte, else 1.
inline int glyph_cells(const Cell* row, int x) { return row[x].part == CELL_LEAD ? 2 : 1; }

// Appends a Shift-JIS string converted for the terminal (ambiguous characters as with
// ambiguous_columns = 1).
void append_text(std::string& out, const char* sjis_text, int encoding);
