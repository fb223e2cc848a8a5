// The characters of the screen: the one-character glyphs of the roles, and how many cells
// a character of the Shift-JIS screen takes and whether terminals disagree on its width.
#pragma once

#include "console/screen.hpp"

// The one-character glyph of a role code; "？" for -1 or anything unknown.
const char* role_glyph(int code);

// How many cells the character starting at row[x] takes: 2 for a lead byte, else 1. A
// lead byte in the last column (which the screen never writes) is one cell: nothing is
// read or drawn past the right edge.
inline int glyph_cells(const Cell* row, int x) {
    return row[x].part == CELL_LEAD && x + 1 < SCREEN_COLUMNS ? 2 : 1;
}

// East Asian ambiguous width of a double-byte character: 0 for a character of fixed
// width; 1 ambiguous; 2 ambiguous line joining to the right (padded with ─ where a
// terminal draws it one column wide); 3 the same, heavy (padded with ━).
int ambiguous_class(unsigned char lead, unsigned char trail);

// The ambiguous class of the character that starts at row[x]; 0 for a one-cell character.
int glyph_ambiguous_class(const Cell* row, int x);
