// The console on Windows. Text goes out as UTF-16 (WriteConsoleW), whatever the code
// page: with VT sequences where the console accepts them (Windows Terminal, current
// conhost), one write per frame and only the changed cells; with the console API
// (cursor placement and attributes) on a legacy console. Keys come from the console's
// input records, so that a resized window is seen and repainted. Everything changed is
// put back at exit, on Ctrl-C, Ctrl-Break and when the window is closed.
#ifdef _WIN32

#include "platform/console.hpp"

#include <windows.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/console_keys.hpp"
#include "platform/frame.hpp"
#include "platform/key_decoder.hpp"
#include "platform/locale.hpp"
#include "platform/terminal_text.hpp"
#include "platform/vt.hpp"
#include "platform/vt_probe.hpp"

namespace {

constexpr int CONSOLE_END_OF_FILE = 0x1A;  // Ctrl-Z, the console's end-of-file key
constexpr DWORD MOUSE_INPUT = 0x0010;      // ENABLE_MOUSE_INPUT
constexpr WORD SANE_ATTRIBUTES = ATTR_GREY;

struct WindowsConsole {
    HANDLE in;
    HANDLE out;
    bool input_console;
    bool output_console;
    DWORD saved_input_mode;
    DWORD saved_output_mode;
    WORD saved_attributes;
    CONSOLE_CURSOR_INFO saved_cursor;
    bool vt;              // the console interprets VT sequences
    bool kanji_one_cell;  // the console gives a kanji one cell, not two
    bool started;         // frames are being drawn; something to put back
    bool restored;        // given back for good (the process is ending): nothing more is drawn
    bool ended;
    bool failed;       // writing failed
    bool read_failed;  // reading failed
    TerminalView view;
    PendingInput input;
    const char* too_small;      // what stands instead of the game in a window too small
    volatile LONG catching;     // console_catch_interrupt: an interrupt is noted, not fatal
    volatile LONG interrupted;  // and one came
    wchar_t last_words[256];    // console_keep_last_words, for a console
    char last_words_utf8[512];  // and for a file or a pipe
};

// Plain data: the console is opened during static initialisation.
constinit WindowsConsole win = {};
// The console control handler runs on a thread of its own: it gives the console back
// only between frames, never in the middle of one.
constinit SRWLOCK drawing = SRWLOCK_INIT;

std::wstring to_utf16(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                        length);
    return wide;
}

// Writes all of it, however many calls that takes. False on an error.
bool write_handle(HANDLE handle, bool console, const std::string& utf8) {
    if (console) {
        const std::wstring wide = to_utf16(utf8);
        for (std::size_t done = 0; done < wide.size();) {
            DWORD written = 0;
            const DWORD left = static_cast<DWORD>(wide.size() - done);
            if (!WriteConsoleW(handle, wide.data() + done, left, &written, nullptr) ||
                written == 0) {
                return false;
            }
            done += written;
        }
        return true;
    }
    for (std::size_t done = 0; done < utf8.size();) {
        DWORD written = 0;
        const DWORD left = static_cast<DWORD>(utf8.size() - done);
        if (!WriteFile(handle, utf8.data() + done, left, &written, nullptr) || written == 0) {
            return false;
        }
        done += written;
    }
    return true;
}

void write_text(const std::string& utf8) {
    if (!write_handle(win.out, win.output_console, utf8)) win.failed = true;
}

// Called with `drawing` held.
void restore_console() {
    if (win.started && win.output_console) {
        if (win.vt) write_text(vt::LEAVE);
        SetConsoleTextAttribute(win.out, win.saved_attributes);
        SetConsoleCursorInfo(win.out, &win.saved_cursor);
        SetConsoleMode(win.out, win.saved_output_mode);
    }
    win.started = false;
    if (win.input_console) SetConsoleMode(win.in, win.saved_input_mode);
}

// Ctrl-C, Ctrl-Break, closing the window, logging off: put the console back, then let
// the default handler end the process.
BOOL WINAPI on_console_event(DWORD event) {
    if (win.catching != 0 && (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT)) {
        InterlockedExchange(&win.interrupted, 1);
        return TRUE;
    }
    AcquireSRWLockExclusive(&drawing);
    restore_console();
    win.restored = true;
    ReleaseSRWLockExclusive(&drawing);
    return FALSE;
}

void close_process_console() { console_close(); }

// How many cells the console gives a character: write it at the start of the second row
// and read back where the cursor went (1 when it cannot tell).
int measure_cells(const wchar_t* character) {
    SetConsoleCursorPosition(win.out, COORD{0, 1});
    DWORD written = 0;
    WriteConsoleW(win.out, character, 1, &written, nullptr);
    CONSOLE_SCREEN_BUFFER_INFO info = {};
    if (!GetConsoleScreenBufferInfo(win.out, &info)) return 1;
    return info.dwCursorPosition.X == 2 ? 2 : 1;
}

bool window_fits() {
    CONSOLE_SCREEN_BUFFER_INFO info = {};
    if (!GetConsoleScreenBufferInfo(win.out, &info)) return true;
    const int columns = info.srWindow.Right - info.srWindow.Left + 1;
    const int rows = info.srWindow.Bottom - info.srWindow.Top + 1;
    return columns >= SCREEN_COLUMNS && rows >= SCREEN_ROWS;
}

// The console as the VT probe sees it: positions within the window.
struct ProbedConsole {
    void place(int x, int y) {
        CONSOLE_SCREEN_BUFFER_INFO info = {};
        if (!GetConsoleScreenBufferInfo(win.out, &info)) return;
        SetConsoleCursorPosition(win.out, COORD{static_cast<SHORT>(info.srWindow.Left + x),
                                                static_cast<SHORT>(info.srWindow.Top + y)});
    }
    void write(const char* text) { write_text(text); }
    bool where(int& x, int& y) {
        CONSOLE_SCREEN_BUFFER_INFO info = {};
        if (!GetConsoleScreenBufferInfo(win.out, &info)) return false;
        x = info.dwCursorPosition.X - info.srWindow.Left;
        y = info.dwCursorPosition.Y - info.srWindow.Top;
        return true;
    }
};

// VT mode where the console takes it and shows that it interprets it; otherwise the
// console's mode as it was, and drawing through the console API.
bool enable_vt() {
    const DWORD vt_mode =
        win.saved_output_mode | ENABLE_PROCESSED_OUTPUT | ENABLE_VIRTUAL_TERMINAL_PROCESSING;
    if (!SetConsoleMode(win.out, vt_mode)) return false;
    ProbedConsole console;
    if (vt_honoured(console)) return true;
    SetConsoleMode(win.out, win.saved_output_mode);
    return false;
}

void clear_with_console_api() {
    DWORD written = 0;
    const COORD home = {0, 0};
    CONSOLE_SCREEN_BUFFER_INFO info = {};
    GetConsoleScreenBufferInfo(win.out, &info);
    const DWORD cells = static_cast<DWORD>(info.dwSize.X) * static_cast<DWORD>(info.dwSize.Y);
    FillConsoleOutputCharacterW(win.out, L' ', cells, home, &written);
    FillConsoleOutputAttribute(win.out, ATTR_GREY, cells, home, &written);
    SetConsoleCursorPosition(win.out, home);
}

// The legacy console: each changed run of one colour placed and coloured through the
// console API. On a console that gives a kanji one cell (Wine's does), a blank follows
// each, so that every character stays in its own column.
void present_with_console_api(const Screen& screen) {
    if (!win.view.valid) {
        clear_with_console_api();
        show_blank(win.view);
    }
    for (int y = 0; y < SCREEN_ROWS; ++y) {
        const Cell* row = screen.cells[y];
        for (int x = 0; x < SCREEN_COLUMNS;) {
            const int start = x;
            std::string run;
            while (x < SCREEN_COLUMNS) {
                const int cells = glyph_cells(row, x);
                const bool changed = unit_changed(win.view, screen, x, y, cells);
                if (!changed || (!run.empty() && row[x].attr != row[start].attr)) break;
                const int width_class =
                    append_glyph(run, row, x, OUTPUT_UTF8, win.view.ambiguous_columns);
                if (cells == 2 && width_class == 0 && win.kanji_one_cell) run += ' ';
                for (int k = 0; k < cells; ++k) win.view.shown.cells[y][x + k] = row[x + k];
                x += cells;
            }
            if (run.empty()) {  // unchanged: step over the whole character
                x += glyph_cells(row, x);
                continue;
            }
            SetConsoleCursorPosition(win.out,
                                     COORD{static_cast<SHORT>(start), static_cast<SHORT>(y)});
            SetConsoleTextAttribute(win.out, row[start].attr);
            write_text(run);
        }
    }
}

// Output that is no console, and a console that interprets VT sequences, get what every
// terminal gets; the legacy console is drawn through the console API.
void present_locked(const Screen& screen) {
    const bool fits = !win.output_console || window_fits();
    if (!win.output_console || win.vt) {
        std::string out;
        append_present(win.view, screen, win.too_small, !win.output_console, fits, out);
        write_text(out);
        return;
    }
    const int step = present_step(win.view, fits);
    if (step == PRESENT_NOTICE) {
        std::string notice;
        append_text(notice, win.too_small, OUTPUT_UTF8);
        clear_with_console_api();
        SetConsoleTextAttribute(win.out, ATTR_BRIGHT_WHITE);
        write_text(notice);
    } else if (step == PRESENT_SCREEN) {
        present_with_console_api(screen);
    }
}

void present(const Screen& screen) {
    AcquireSRWLockExclusive(&drawing);
    if (!win.restored) present_locked(screen);
    ReleaseSRWLockExclusive(&drawing);
}

// Redirected input: bytes through the same decoder as on POSIX.
int read_redirected_key() {
    PendingInput& in = win.input;
    for (;;) {
        int key = 0;
        if (take_key(in, key)) return key;
        if (win.ended) return KEY_END_OF_INPUT;
        DWORD got = 0;
        const DWORD room = static_cast<DWORD>(input_room(in));
        const bool more = ReadFile(win.in, in.bytes + in.length, room, &got, nullptr) && got > 0;
        in.length += got;
        if (!more) win.ended = true;
        decode_pending(in, more);
        in.reply = {};  // nothing asks a redirected input for the cursor position
    }
}

// Keys from the console's input records. A resize repaints (and keys typed while the
// window is too small are dropped); mouse, focus and menu records are never keys. With a
// time limit (timeout_ms not INFINITE), KEY_TIMEOUT when no key came in time.
int read_console_key(const Screen& screen, DWORD timeout_ms) {
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    for (;;) {
        if (timeout_ms != INFINITE) {
            const ULONGLONG now = GetTickCount64();
            if (now >= deadline) return KEY_TIMEOUT;
            if (WaitForSingleObject(win.in, static_cast<DWORD>(deadline - now)) != WAIT_OBJECT_0) {
                return KEY_TIMEOUT;
            }
        }
        INPUT_RECORD record = {};
        DWORD count = 0;
        if (!ReadConsoleInputW(win.in, &record, 1, &count)) {
            win.read_failed = true;
            return KEY_INPUT_FAILED;
        }
        if (count == 0) continue;
        if (record.EventType == WINDOW_BUFFER_SIZE_EVENT) {
            invalidate_view(win.view);
            present(screen);
            continue;
        }
        if (record.EventType != KEY_EVENT) continue;
        const KEY_EVENT_RECORD& k = record.Event.KeyEvent;
        const int key = console_event_key(
            {k.bKeyDown != FALSE, k.wVirtualKeyCode, k.uChar.UnicodeChar, k.dwControlKeyState});
        if (key == CONSOLE_END_OF_FILE) return KEY_END_OF_INPUT;
        if (key == CONSOLE_NO_KEY || win.view.notice_up) continue;
        // A held key repeats: each repeat is a key, as _getch gives it.
        for (WORD r = 1; r < k.wRepeatCount; ++r) {
            if (!queue_key(win.input, key)) break;
        }
        return key;
    }
}

}  // namespace

void console_open() {
    win.out = GetStdHandle(STD_OUTPUT_HANDLE);
    win.in = GetStdHandle(STD_INPUT_HANDLE);
    win.too_small = "";
    win.input_console = GetConsoleMode(win.in, &win.saved_input_mode) != 0;
    if (win.input_console) SetConsoleMode(win.in, win.saved_input_mode | MOUSE_INPUT);
    win.output_console = GetConsoleMode(win.out, &win.saved_output_mode) != 0;
    const UINT code_page = GetConsoleCP();
    win.input.codeset = codeset_from_code_page(code_page != 0 ? code_page : GetACP());
    SetConsoleCtrlHandler(on_console_event, TRUE);
    std::atexit(close_process_console);
}

void console_start(int ambiguous_columns, const char* too_small) {
    if (win.started) return;
    win.started = true;
    win.too_small = too_small;
    if (win.input_console) {
        SetConsoleMode(win.in, win.saved_input_mode | MOUSE_INPUT | ENABLE_WINDOW_INPUT);
    }
    if (!win.output_console) return;
    CONSOLE_SCREEN_BUFFER_INFO info = {};
    const bool known = GetConsoleScreenBufferInfo(win.out, &info) != 0 && info.wAttributes != 0;
    win.saved_attributes = known ? info.wAttributes : SANE_ATTRIBUTES;
    if (!GetConsoleCursorInfo(win.out, &win.saved_cursor)) win.saved_cursor = {25, TRUE};
    win.vt = enable_vt();
    if (win.vt) write_text(vt::ENTER);
    CONSOLE_CURSOR_INFO hidden = win.saved_cursor;
    hidden.bVisible = FALSE;
    SetConsoleCursorInfo(win.out, &hidden);
    const bool ask = ambiguous_columns == AMBIGUOUS_ASK_TERMINAL;
    win.view = make_terminal_view(OUTPUT_UTF8, ask ? measure_cells(L"─") : ambiguous_columns);
    win.kanji_one_cell = !win.vt && measure_cells(L"人") == 1;
}

void console_restore() {
    AcquireSRWLockExclusive(&drawing);
    restore_console();
    win.restored = true;
    ReleaseSRWLockExclusive(&drawing);
}

void console_close() {
    console_restore();
    if (win.out != nullptr) CloseHandle(win.out);
    if (win.in != nullptr) CloseHandle(win.in);
    win.out = nullptr;
    win.in = nullptr;
}

// The locale variables where a user has set them (as MSYS and Cygwin do), otherwise the
// language of the user interface.
bool console_speaks_japanese() {
    const int said = environment_speaks_japanese();
    if (said != -1) return said == 1;
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE;
}

bool console_message(const char* text, bool to_error) {
    const HANDLE handle = to_error ? GetStdHandle(STD_ERROR_HANDLE) : win.out;
    DWORD mode = 0;
    const bool console = GetConsoleMode(handle, &mode) != 0;
    std::string utf8;
    append_text(utf8, text, OUTPUT_UTF8);
    std::string lines;  // Windows text ends its lines with CR LF
    for (char c : utf8) lines += c == '\n' ? std::string("\r\n") : std::string(1, c);
    errno = 0;
    if (write_handle(handle, console, lines)) return true;
    errno = GetLastError() == ERROR_DISK_FULL ? ENOSPC : EIO;
    return false;
}

bool console_error_is_terminal() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

bool console_error_beside_screen() { return !win.output_console || !console_error_is_terminal(); }

void console_catch_interrupt() { InterlockedExchange(&win.catching, 1); }

bool console_interrupted() { return win.interrupted != 0; }

void console_keep_last_words(const char* text) {
    std::string utf8;
    append_text(utf8, text, OUTPUT_UTF8);
    std::string lines;  // Windows text ends its lines with CR LF
    for (char c : utf8) lines += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const std::wstring wide = to_utf16(lines);
    wide.copy(win.last_words, std::size(win.last_words) - 1);
    win.last_words[std::min(wide.size(), std::size(win.last_words) - 1)] = L'\0';
    lines.copy(win.last_words_utf8, sizeof win.last_words_utf8 - 1);
    win.last_words_utf8[std::min(lines.size(), sizeof win.last_words_utf8 - 1)] = '\0';
}

void console_last_words() {
    console_restore();
    const HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(handle, &mode) != 0) {
        WriteConsoleW(handle, win.last_words, static_cast<DWORD>(wcslen(win.last_words)), &written,
                      nullptr);
    } else {
        WriteFile(handle, win.last_words_utf8, static_cast<DWORD>(strlen(win.last_words_utf8)),
                  &written, nullptr);
    }
}

int console_failure(int& error) {
    error = EIO;
    return win.failed ? CONSOLE_WRITE_FAILED : win.read_failed ? CONSOLE_READ_FAILED : 0;
}

namespace {

int read_key(const Console& console, DWORD timeout_ms) {
    if (!win.started) console_start(AMBIGUOUS_ASK_TERMINAL, "");
    if (!win.failed) present(console.screen);
    if (win.failed) return KEY_INPUT_FAILED;
    int key = 0;
    if (take_key(win.input, key)) return key;              // repeats of a held key
    if (!win.input_console) return read_redirected_key();  // a pipe: every byte at once
    return read_console_key(console.screen, timeout_ms);
}

}  // namespace

int console_read_key(const Console& console) { return read_key(console, INFINITE); }

int console_read_key_within(const Console& console, int timeout_ms) {
    return read_key(console, static_cast<DWORD>(timeout_ms < 0 ? 0 : timeout_ms));
}

#endif  // _WIN32
