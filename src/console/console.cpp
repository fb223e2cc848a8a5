// The drawing operations, the same on every platform: they only touch the screen. And
// the notice that stands in for the screen while the window is too small.
#include "console/console.hpp"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "model/texts.hpp"

void console_clear(Console& console) { screen_clear(console.screen); }

const char* too_small_notice() { return texts().too_small; }

void console_move(Console& console, int x, int y) {
    console.screen.cursor_x = x;
    console.screen.cursor_y = y;
}

void console_set_attr(Console& console, int attr) { console.screen.attr = attr; }

void console_print(Console& console, const char* text) {
    screen_write(console.screen, text, std::strlen(text));
}

void console_printf(Console& console, const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (length < 0) return;
    const auto written = static_cast<std::size_t>(length) < sizeof text
                             ? static_cast<std::size_t>(length)
                             : sizeof text - 1;
    screen_write(console.screen, text, written);
}
