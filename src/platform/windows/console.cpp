// The console on Windows. Text goes out as UTF-16 (WriteConsoleW), whatever the code
// page: with VT sequences where the console accepts them (Windows Terminal, current
// conhost), one write per frame and only the changed cells; with the console API
// (cursor placement and attributes) on a legacy console. Everything changed is put back
// at exit, on Ctrl-C, Ctrl-Break and when the window is closed.
#ifdef _WIN32

#include "console/console.hpp"

#include <conio.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "console/glyphs.hpp"
#include "platform/frame.hpp"
#include "platform/key_decoder.hpp"
#include "platform/terminal_text.hpp"

namespace {

constexpr char ENTER_SEQUENCE[] = "\x1b[?1049h\x1b[?25l";
constexpr char LEAVE_SEQUENCE[] = "\x1b[0m\x1b[?25h\x1b[?1049l";
constexpr int CONSOLE_END_OF_FILE = 0x1A;  // Ctrl-Z, the console's end-of-file key
constexpr DWORD MOUSE_INPUT = 0x0010;      // ENABLE_MOUSE_INPUT

struct WindowsConsole {
    HANDLE in;
    HANDLE out;
    bool input_console;
    bool output_console;
    DWORD saved_input_mode;
    DWORD saved_output_mode;
    WORD saved_attributes;
    CONSOLE_CURSOR_INFO saved_cursor;
    bool vt;       // the console takes VT sequences
    bool started;  // frames are being drawn; something to put back
    bool ended;
    TerminalView view;
    PendingInput input;
};

// Plain data: the console is opened during static initialisation.
constinit WindowsConsole win = {};

std::wstring to_utf16(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                        length);
    return wide;
}

// One write of UTF-8 text: to the console as UTF-16, elsewhere as the bytes themselves.
void write_text(const std::string& utf8) {
    DWORD written = 0;
    if (win.output_console) {
        const std::wstring wide = to_utf16(utf8);
        if (!WriteConsoleW(win.out, wide.data(), static_cast<DWORD>(wide.size()), &written,
                           nullptr)) {
            win.ended = true;
        }
    } else if (!WriteFile(win.out, utf8.data(), static_cast<DWORD>(utf8.size()), &written,
                          nullptr)) {
        win.ended = true;
    }
}

void restore_console() {
    if (win.started && win.output_console) {
        if (win.vt) write_text(LEAVE_SEQUENCE);
        SetConsoleTextAttribute(win.out, win.saved_attributes);
        SetConsoleCursorInfo(win.out, &win.saved_cursor);
        SetConsoleMode(win.out, win.saved_output_mode);
    }
    win.started = false;
    if (win.input_console) SetConsoleMode(win.in, win.saved_input_mode);
}

// Ctrl-C, Ctrl-Break, closing the window, logging off: put the console back, then let
// the default handler end the process.
BOOL WINAPI on_console_event(DWORD /*event*/) {
    restore_console();
    return FALSE;
}

void close_process_console() { console_close(process_console()); }

// How wide the console draws ─: write one at the start of the second row and read back
// where the cursor went.
int measure_ambiguous_width() {
    SetConsoleCursorPosition(win.out, COORD{0, 1});
    DWORD written = 0;
    WriteConsoleW(win.out, L"─", 1, &written, nullptr);
    CONSOLE_SCREEN_BUFFER_INFO info = {};
    if (!GetConsoleScreenBufferInfo(win.out, &info)) return 1;
    return info.dwCursorPosition.X == 2 ? 2 : 1;
}

void start_console() {
    win.started = true;
    if (!win.output_console) return;
    CONSOLE_SCREEN_BUFFER_INFO info = {};
    GetConsoleScreenBufferInfo(win.out, &info);
    win.saved_attributes = info.wAttributes;
    GetConsoleCursorInfo(win.out, &win.saved_cursor);
    win.vt = SetConsoleMode(win.out, win.saved_output_mode | ENABLE_PROCESSED_OUTPUT |
                                         ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
    if (win.vt) write_text(ENTER_SEQUENCE);
    CONSOLE_CURSOR_INFO hidden = win.saved_cursor;
    hidden.bVisible = FALSE;
    SetConsoleCursorInfo(win.out, &hidden);
    win.view = make_terminal_view(OUTPUT_UTF8, measure_ambiguous_width());
}

// The legacy console: each changed run of one colour placed and coloured through the
// console API.
void present_with_console_api(const Screen& screen) {
    if (!win.view.valid) {
        DWORD written = 0;
        const COORD home = {0, 0};
        CONSOLE_SCREEN_BUFFER_INFO info = {};
        GetConsoleScreenBufferInfo(win.out, &info);
        const DWORD cells = static_cast<DWORD>(info.dwSize.X) * static_cast<DWORD>(info.dwSize.Y);
        FillConsoleOutputCharacterW(win.out, L' ', cells, home, &written);
        FillConsoleOutputAttribute(win.out, ATTR_GREY, cells, home, &written);
        show_blank(win.view);
    }
    for (int y = 0; y < SCREEN_ROWS; ++y) {
        const Cell* row = screen.cells[y];
        for (int x = 0; x < SCREEN_COLUMNS;) {
            const int start = x;
            std::string run;
            while (x < SCREEN_COLUMNS) {
                const int cells = x + 1 < SCREEN_COLUMNS ? glyph_cells(row, x) : 1;
                const bool changed = unit_changed(win.view, screen, x, y, cells);
                if (!changed || (!run.empty() && row[x].attr != row[start].attr)) break;
                append_glyph(run, row, x, OUTPUT_UTF8, win.view.ambiguous_columns);
                for (int k = 0; k < cells; ++k) win.view.shown.cells[y][x + k] = row[x + k];
                x += cells;
            }
            if (run.empty()) {  // unchanged: step over the whole character
                x += x + 1 < SCREEN_COLUMNS ? glyph_cells(row, x) : 1;
                continue;
            }
            SetConsoleCursorPosition(win.out,
                                     COORD{static_cast<SHORT>(start), static_cast<SHORT>(y)});
            SetConsoleTextAttribute(win.out, row[start].attr);
            write_text(run);
        }
    }
}

void present(const Screen& screen) {
    if (!win.started) start_console();
    std::string out;
    if (!win.output_console) {
        append_plain_frame(screen, OUTPUT_UTF8, out);
        write_text(out);
    } else if (win.vt) {
        append_frame(win.view, screen, out);
        write_text(out);
    } else {
        present_with_console_api(screen);
    }
}

// Redirected input: bytes through the same decoder as on POSIX.
int read_redirected_key() {
    PendingInput& in = win.input;
    for (;;) {
        int key = 0;
        if (take_key(in, key)) return key;
        if (win.ended) return KEY_END_OF_INPUT;
        DWORD got = 0;
        const DWORD room = static_cast<DWORD>(INPUT_BUFFER_SIZE - in.length);
        const bool more = ReadFile(win.in, in.bytes + in.length, room, &got, nullptr) && got > 0;
        in.length += got;
        if (!more) win.ended = true;
        decode_pending(in, more);
        in.reply = {};  // nothing asks a redirected input for the cursor position
    }
}

}  // namespace

void console_open(Console& console) {
    win.out = console.output = GetStdHandle(STD_OUTPUT_HANDLE);
    win.in = console.input = GetStdHandle(STD_INPUT_HANDLE);
    win.input_console = GetConsoleMode(win.in, &win.saved_input_mode) != 0;
    if (win.input_console) SetConsoleMode(win.in, win.saved_input_mode | MOUSE_INPUT);
    win.output_console = GetConsoleMode(win.out, &win.saved_output_mode) != 0;
    SetConsoleCtrlHandler(on_console_event, TRUE);
    std::atexit(close_process_console);
}

void console_close(Console& console) {
    restore_console();
    if (console.output != nullptr) CloseHandle(console.output);
    if (console.input != nullptr) CloseHandle(console.input);
    console.output = nullptr;
    console.input = nullptr;
}

int console_read_key(const Console& console) {
    if (!win.ended) present(console.screen);
    if (!win.input_console) return read_redirected_key();
    if (win.ended) return KEY_END_OF_INPUT;
    const int code = _getch();
    if (code == 0 || code == 0xE0) {  // an arrow or function key: one key, no meaning
        _getch();
        return KEY_NO_MEANING;
    }
    if (code == CONSOLE_END_OF_FILE) {
        win.ended = true;
        return KEY_END_OF_INPUT;
    }
    return code & 0xFF;
}

#endif  // _WIN32
