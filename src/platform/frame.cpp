#include "platform/frame.hpp"

#include <cstdio>

#include "platform/terminal_text.hpp"
#include "platform/vt.hpp"

TerminalView make_terminal_view(int encoding, int ambiguous_columns) {
    TerminalView view{};
    view.encoding = encoding;
    view.ambiguous_columns = ambiguous_columns;
    invalidate_view(view);
    return view;
}

void invalidate_view(TerminalView& view) {
    view.valid = false;
    view.cursor_x = -1;
    view.cursor_y = -1;
    view.attr = -1;
    view.after_ambiguous = false;
}

void append_colour(std::string& out, int attr) {
    const int ansi = ((attr & 4) ? 1 : 0) | ((attr & 2) ? 2 : 0) | ((attr & 1) ? 4 : 0);
    const int code = ((attr & 8) ? 90 : 30) + ansi;
    char sequence[16];
    std::snprintf(sequence, sizeof sequence, vt::COLOUR_FORMAT, code);
    out += sequence;
}

bool unit_changed(const TerminalView& view, const Screen& next, int x, int y, int cells) {
    for (int k = 0; k < cells; ++k) {
        if (!cells_look_alike(view.shown.cells[y][x + k], next.cells[y][x + k])) return true;
    }
    // A wide character that used to start one cell to the left was cut in half by this one.
    return view.shown.cells[y][x].part == CELL_TRAIL;
}

void show_blank(TerminalView& view) {
    const Cell blank = {' ', ATTR_GREY, CELL_SINGLE};
    for (auto& row : view.shown.cells) {
        for (Cell& cell : row) cell = blank;
    }
    view.attr = -1;
    view.after_ambiguous = false;
    view.valid = true;
}

namespace {

void move_to(TerminalView& view, int x, int y, std::string& out) {
    if (view.cursor_x == x && view.cursor_y == y) return;
    char sequence[32];
    std::snprintf(sequence, sizeof sequence, vt::MOVE_FORMAT, y + 1, x + 1);
    out += sequence;
    view.cursor_x = x;
    view.cursor_y = y;
}

void clear_terminal(TerminalView& view, std::string& out) {
    out += vt::CLEAR;
    show_blank(view);
    view.cursor_x = 0;
    view.cursor_y = 0;
}

void draw_unit(TerminalView& view, const Screen& next, int x, int y, int cells, std::string& out) {
    const Cell* row = next.cells[y];
    const bool ambiguous = glyph_ambiguous_class(row, x) != 0;
    // After an ambiguous-width character only another one continues the run without a
    // cursor placement: if the terminal drew the run at another width than expected, what
    // follows it still lands in its column.
    if (view.after_ambiguous && !ambiguous) view.cursor_x = -1;
    move_to(view, x, y, out);
    const bool blank = row[x].byte == ' ' && row[x].part == CELL_SINGLE;
    if (!blank && row[x].attr != view.attr) {
        append_colour(out, row[x].attr);
        view.attr = row[x].attr;
    }
    append_glyph(out, row, x, view.encoding, view.ambiguous_columns);
    view.cursor_x = x + cells;
    view.after_ambiguous = ambiguous;
    for (int k = 0; k < cells; ++k) view.shown.cells[y][x + k] = row[x + k];
}

}  // namespace

void append_frame(TerminalView& view, const Screen& next, std::string& out) {
    if (!view.valid) clear_terminal(view, out);
    for (int y = 0; y < SCREEN_ROWS; ++y) {
        const Cell* row = next.cells[y];
        for (int x = 0; x < SCREEN_COLUMNS;) {
            const int cells = glyph_cells(row, x);
            if (unit_changed(view, next, x, y, cells)) draw_unit(view, next, x, y, cells, out);
            x += cells;
        }
    }
}

void append_plain_frame(const Screen& screen, int encoding, std::string& out) {
    out += '\f';
    for (const auto& row : screen.cells) {
        std::string line;
        for (int x = 0; x < SCREEN_COLUMNS; x += glyph_cells(row, x)) {
            append_glyph(line, row, x, encoding, 1);
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out += line;
        out += '\n';
    }
}

int present_step(TerminalView& view, bool window_fits) {
    if (window_fits) {
        view.notice_up = false;
        return PRESENT_SCREEN;
    }
    // The game's cells are gone from the terminal: when the window fits again, all of them
    // go out.
    invalidate_view(view);
    if (view.notice_up) return PRESENT_NOTHING;
    view.notice_up = true;
    return PRESENT_NOTICE;
}

int append_present(TerminalView& view, const Screen& screen, const char* too_small, bool plain,
                   bool window_fits, std::string& out) {
    if (plain) {
        append_plain_frame(screen, view.encoding, out);
        return PRESENT_SCREEN;
    }
    const int step = present_step(view, window_fits);
    if (step == PRESENT_NOTICE) {
        out += vt::CLEAR;
        append_text(out, too_small, view.encoding);
    } else if (step == PRESENT_SCREEN) {
        append_frame(view, screen, out);
    }
    return step;
}
