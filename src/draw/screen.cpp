#include "draw/screen.hpp"

#include <cstdarg>
#include <cstdio>
#include <cstring>

void screen_clear(Screen& screen) {
    const Cell blank = {' ', static_cast<std::uint8_t>(screen.attr), CELL_SINGLE};
    for (auto& row : screen.cells) {
        for (Cell& cell : row) cell = blank;
    }
    screen.cursor_x = 0;
    screen.cursor_y = 0;
}

void screen_move(Screen& screen, int x, int y) {
    screen.cursor_x = x;
    screen.cursor_y = y;
}

void screen_set_attr(Screen& screen, int attr) { screen.attr = attr; }

void screen_print(Screen& screen, const char* text) {
    screen_write(screen, text, std::strlen(text));
}

void screen_printf(Screen& screen, const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (length < 0) return;
    const auto written = static_cast<std::size_t>(length) < sizeof text
                             ? static_cast<std::size_t>(length)
                             : sizeof text - 1;
    screen_write(screen, text, written);
}

namespace {

// Before cells [x, x + width) are overwritten: blank the halves of double-byte
// characters that stick out on either side.
void release_cells(Screen& screen, int y, int x, int width) {
    Cell* row = screen.cells[y];
    if (row[x].part == CELL_TRAIL && x > 0) {
        row[x - 1].byte = ' ';
        row[x - 1].part = CELL_SINGLE;
    }
    const int last = x + width - 1;
    if (row[last].part == CELL_LEAD && last + 1 < SCREEN_COLUMNS) {
        row[last + 1].byte = ' ';
        row[last + 1].part = CELL_SINGLE;
    }
}

void put_cell(Screen& screen, int x, char byte, std::uint8_t part) {
    screen.cells[screen.cursor_y][x] = {byte, static_cast<std::uint8_t>(screen.attr), part};
}

}  // namespace

void screen_write(Screen& screen, const char* text, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '\n') {
            screen.cursor_x = 0;
            screen.cursor_y += 1;
            continue;
        }
        const bool wide =
            sjis::char_length(reinterpret_cast<const unsigned char*>(text) + i, length - i) == 2;
        const int width = wide ? 2 : 1;
        const int x = screen.cursor_x;
        if (screen.cursor_y >= 0 && screen.cursor_y < SCREEN_ROWS && x >= 0 &&
            x + width <= SCREEN_COLUMNS) {
            release_cells(screen, screen.cursor_y, x, width);
            if (wide) {
                put_cell(screen, x, text[i], CELL_LEAD);
                put_cell(screen, x + 1, text[i + 1], CELL_TRAIL);
            } else {
                put_cell(screen, x, text[i], CELL_SINGLE);
            }
        }
        screen.cursor_x += width;
        i += static_cast<std::size_t>(width - 1);
    }
}

std::string screen_row(const Screen& screen, int row) {
    std::string bytes;
    for (const Cell& cell : screen.cells[row]) bytes += cell.byte;
    return bytes;
}

bool cells_look_alike(const Cell& a, const Cell& b) {
    if (a.byte != b.byte || a.part != b.part) return false;
    return a.attr == b.attr || (a.byte == ' ' && a.part == CELL_SINGLE);
}
