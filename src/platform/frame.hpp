// Turns the screen of cells into terminal output (VT sequences): the whole screen the
// first time, afterwards only the cells that changed since the last frame, appended to
// one buffer so that a frame leaves in one write.
#pragma once

#include <string>

#include "draw/screen.hpp"

// What the terminal shows now, as far as the game knows.
struct TerminalView {
    Screen shown;
    bool valid;             // false: the next frame clears and repaints everything
    int encoding;           // OUTPUT_UTF8 or OUTPUT_SHIFT_JIS
    int ambiguous_columns;  // how wide the terminal draws ─ │ ┐ └ ┘: 1 or 2
    int cursor_x;           // where the terminal's cursor is; -1 unknown
    int cursor_y;
    int attr;              // the colour the terminal draws in; -1 unknown
    bool after_ambiguous;  // the last character written has ambiguous width
    bool notice_up;        // the too-small notice stands instead of the game
};

// A view that knows nothing yet: the next frame is a full repaint.
TerminalView make_terminal_view(int encoding, int ambiguous_columns);

// Forget what the terminal shows (after a resize, a resume, a change of width mode).
void invalidate_view(TerminalView& view);

// True when the character of `cells` cells at (x, y) of next is not what the view shows.
bool unit_changed(const TerminalView& view, const Screen& next, int x, int y, int cells);

// Records that the terminal has just been cleared: it shows blanks, in no known colour.
void show_blank(TerminalView& view);

// Appends what brings the terminal from view.shown to next, and records next as shown.
void append_frame(TerminalView& view, const Screen& next, std::string& out);

// The SGR sequence of a console colour attribute (bright bit 8, red 4, green 2, blue 1).
void append_colour(std::string& out, int attr);

// The screen as plain text for output that is not a terminal: rows without colours or
// trailing blanks, the frame introduced by a form feed.
void append_plain_frame(const Screen& screen, int encoding, std::string& out);

// What a back end sends when a frame is due.
inline constexpr int PRESENT_SCREEN = 0;   // the game's screen
inline constexpr int PRESENT_NOTICE = 1;   // the too-small notice, just put up
inline constexpr int PRESENT_NOTHING = 2;  // the notice stands already

// The window's size decides: the screen while the game fits, otherwise the too-small
// notice, put up once (and the view invalidated, so that the game repaints whole).
int present_step(TerminalView& view, bool window_fits);

// The one choice of every terminal back end: for output that is no terminal the plain
// frame; otherwise the present_step, appended, with the too-small notice (Shift-JIS text)
// where it goes up. Returns the step.
int append_present(TerminalView& view, const Screen& screen, const char* too_small, bool plain,
                   bool window_fits, std::string& out);
