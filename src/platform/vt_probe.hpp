// Whether a console that accepted VT mode really interprets the sequences. The mode flag
// read back can lie as the call that set it did, so the answer comes from the effect: a
// cursor movement is written and the cursor read back. A console that prints the sequence
// as text, or swallows it, leaves the cursor elsewhere, and is then drawn through the
// console API. Nothing waits for an answer: the cursor is read at once.
#pragma once

inline constexpr char VT_PROBE_MOVE[] = "\x1b[3;5H";  // row 3, column 5, counted from 1
inline constexpr int VT_PROBE_X = 4;                  // the same, counted from 0
inline constexpr int VT_PROBE_Y = 2;

// Console: a type with
//   void place(int x, int y)     puts the cursor at column x, row y of the window
//   void write(const char* text) writes the text at the cursor
//   bool where(int& x, int& y)   the cursor's column and row in the window; false if unknown
template <typename Console>
bool vt_honoured(Console& console) {
    console.place(0, 0);
    console.write(VT_PROBE_MOVE);
    int x = -1;
    int y = -1;
    return console.where(x, y) && x == VT_PROBE_X && y == VT_PROBE_Y;
}
