// How a cell of the Shift-JIS screen is spelled for a terminal: UTF-8 or Shift-JIS bytes,
// with the East Asian ambiguous-width characters (the box-drawing lines) padded to two
// columns where the terminal draws them one column wide.
#pragma once

#include <string>

#include "draw/screen.hpp"

inline constexpr int OUTPUT_UTF8 = 0;
inline constexpr int OUTPUT_SHIFT_JIS = 1;

// The encoding a terminal of a codeset (CODESET_... of the key decoder) is written in:
// Shift-JIS for Shift-JIS, and for EUC-JP, which the back end converts it to; UTF-8 for
// every other codeset, Korean and Chinese ones included, whose fonts cannot be counted on
// for the game's kana.
int output_encoding(int codeset);

// Appends the character that starts at cells[x] of a row: one cell, or two for a
// double-byte character. Control bytes and bytes that stand for no character come out as
// "?", so nothing on the screen can reach the terminal as a control sequence. Returns the
// ambiguous class of the character (0 for one cell).
int append_glyph(std::string& out, const Cell* row, int x, int encoding, int ambiguous_columns);

// Appends a Unicode character as UTF-8.
void append_utf8(std::string& out, char32_t c);

// Appends a NUL-terminated Shift-JIS text (a message, not a screen) converted for the
// terminal: characters as they are, without padding; newlines kept, other control bytes
// as "?".
void append_text(std::string& out, const char* sjis_text, int encoding);
