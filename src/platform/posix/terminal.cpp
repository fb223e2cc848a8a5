// The console on Linux, macOS and the BSDs. The screen of cells goes out in one write per
// frame, only what changed, on the alternate screen with the cursor hidden. The terminal
// runs in raw mode without echo, Ctrl-C still interrupting; it is given back as it was at
// exit, on a fatal signal and while the game is suspended with Ctrl-Z. Without a terminal
// that can place the cursor, every screen goes out as plain text.
#ifndef _WIN32

#include "platform/posix/terminal.hpp"

#include <fcntl.h>
#include <langinfo.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <cstring>

#include "cli/messages.hpp"
#include "console/console.hpp"
#include "model/sjis.hpp"
#include "platform/terminal_text.hpp"

// Plain data, initialised before any code runs.
constinit Terminal term = {};

namespace {

constexpr int PROBE_TIMEOUT_MS = 250;  // a terminal that never answers costs this once
constexpr int PROBE_SLICE_MS = 10;
constexpr int ESCAPE_TIMEOUT_MS = 50;  // a lone Escape versus the start of a sequence

constexpr char ENTER_SEQUENCE[] = "\x1b[?1049h\x1b[?25l";

// --- modes -----------------------------------------------------------------------------

void enter_raw_mode() {
    if (!term.input_tty) return;
    if (tcsetattr(term.in, TCSAFLUSH, &term.raw) == 0) term.raw_on = 1;
}

void make_raw_settings() {
    term.raw = term.saved;
    term.raw.c_iflag &= ~static_cast<tcflag_t>(BRKINT | ICRNL | INPCK | ISTRIP | IXON);
    term.raw.c_cflag |= CS8;
    term.raw.c_lflag &= ~static_cast<tcflag_t>(ECHO | ICANON | IEXTEN);  // ISIG stays
    term.raw.c_cc[VMIN] = 1;
    term.raw.c_cc[VTIME] = 0;
}

// A terminal that cannot place the cursor gets plain frames, as a pipe does.
bool cannot_place_cursor() {
    const char* name = std::getenv("TERM");
    return name != nullptr && std::strcmp(name, "dumb") == 0;
}

// Standard descriptors that are closed get /dev/null, so that nothing the game opens
// later (the wake-up pipe) can take their place.
void open_standard_descriptors() {
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        const int null = open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (null >= 0 && null != fd) {
            dup2(null, fd);
            close(null);
        }
    }
}

void open_wake_pipe() {
    int fds[2];
    term.wake[0] = term.wake[1] = -1;
    if (pipe(fds) != 0) return;  // no wake-up: signals still interrupt poll
    for (int fd : fds) {
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
        fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    term.wake[0] = fds[0];
    term.wake[1] = fds[1];
}

// --- frames ----------------------------------------------------------------------------

bool window_too_small() {
    winsize size = {};
    if (ioctl(term.out, TIOCGWINSZ, &size) != 0 || size.ws_col == 0) return false;
    return size.ws_col < SCREEN_COLUMNS || size.ws_row < SCREEN_ROWS;
}

void show_too_small_notice() {
    output() += "\x1b[0m\x1b[H\x1b[2J";
    append_text(output(), too_small_notice(), term.encoding);
    term.too_small = true;
    term.keys_before_notice = term.input.key_count;  // these were typed before: kept
}

// Finds out how wide the terminal draws ─: one such character on a known row, then a
// cursor-position request, answered within a short time or never (then one column).
void probe_ambiguous_width() {
    output() += "\x1b[H\x1b[2J\x1b[2;1H";
    if (term.encoding == OUTPUT_UTF8) {  // exactly one character, however wide it is drawn
        append_utf8(output(), U'─');
    } else {
        output() += "─"_sj;
    }
    output() += "\x1b[6n";
    send_output();
    // Counted in slices rather than against the clock, which may be frozen or jump.
    for (int slice = 0; slice < PROBE_TIMEOUT_MS / PROBE_SLICE_MS; ++slice) {
        if (term.width_known || term.ended || term.failed) break;
        wait_for_input(PROBE_SLICE_MS);
    }
}

void present(const Screen& screen) {
    if (term.plain) {
        append_plain_frame(screen, term.encoding, output());
    } else if (window_too_small()) {
        if (!term.too_small) show_too_small_notice();
        invalidate_view(term.view);
    } else {
        term.too_small = false;
        append_frame(term.view, screen, output());
    }
    send_output();
}

void resume_after_stop() {
    enter_raw_mode();
    if (term.plain) return;
    output() += ENTER_SEQUENCE;
    term.screen_on = 1;
    invalidate_view(term.view);
}

// Keys typed while the notice is up never reach the game; the end-of-file key still
// ends it.
void discard_keys_while_too_small() {
    if (!term.too_small) return;
    if (drop_keys_after(term.input, term.keys_before_notice, end_of_file_key())) {
        term.ended = true;
    }
}

// A resize or a resume repaints the screen as it is; the game does not move.
void repaint_if_needed(const Screen& screen) {
    if (term.resumed) {
        term.resumed = 0;
        resume_after_stop();
        if (term.output_tty) present(screen);
    }
    if (term.resized) {
        term.resized = 0;
        if (!term.plain) {
            invalidate_view(term.view);
            present(screen);
        }
    }
}

void close_process_console() { console_close(process_console()); }

}  // namespace

void console_open(Console& console) {
    open_standard_descriptors();
    term.in = console.input = STDIN_FILENO;
    term.out = console.output = STDOUT_FILENO;
    term.input_tty = isatty(term.in) == 1 && tcgetattr(term.in, &term.saved) == 0;
    term.output_tty = isatty(term.out) == 1;
    term.plain = !term.output_tty || cannot_place_cursor();
    std::setlocale(LC_CTYPE, "");
    const char* codeset = nl_langinfo(CODESET);
    term.encoding = choose_encoding(codeset);
    term.input.codeset = codeset_from_name(codeset);
    open_wake_pipe();
    std::atexit(close_process_console);
}

void console_start(Console& /*console*/, int ambiguous_columns) {
    if (term.started) return;
    term.started = true;
    if (term.input_tty) {
        make_raw_settings();
        enter_raw_mode();
    }
    install_signal_handlers();
    if (term.plain) return;
    const bool ask = ambiguous_columns == AMBIGUOUS_ASK_TERMINAL;
    term.view = make_terminal_view(term.encoding, ask ? AMBIGUOUS_NARROW : ambiguous_columns);
    term.width_known = !ask;
    output() += ENTER_SEQUENCE;
    term.screen_on = 1;
    if (ask && term.input_tty) {
        probe_ambiguous_width();
    } else {
        send_output();
    }
    invalidate_view(term.view);
}

void console_close(Console& /*console*/) { restore_terminal(); }

bool console_speaks_japanese(const Console& /*console*/) {
    return environment_speaks_japanese() == 1;
}

void console_message(Console& /*console*/, const char* text, bool to_error) {
    std::string bytes;
    append_text(bytes, text, term.encoding);
    if (convert_to_locale(bytes)) {
        write_all(to_error ? STDERR_FILENO : STDOUT_FILENO, bytes.data(), bytes.size());
    }
}

int console_read_key(const Console& console) {
    if (!term.started) console_start(process_console(), AMBIGUOUS_ASK_TERMINAL);
    if (!term.failed) present(console.screen);
    for (;;) {
        if (term.failed) return KEY_INPUT_FAILED;
        repaint_if_needed(console.screen);
        discard_keys_while_too_small();
        int key = 0;
        if (take_key(term.input, key)) {
            if (term.keys_before_notice > 0) term.keys_before_notice -= 1;
            if (key == end_of_file_key()) break;  // Ctrl-D arrives as a byte in raw mode
            return key;
        }
        if (term.ended) break;
        if (!term.plain && !term.view.valid && !term.too_small) present(console.screen);
        wait_for_input(term.input.length > 0 ? ESCAPE_TIMEOUT_MS : -1);
    }
    term.ended = true;
    return KEY_END_OF_INPUT;
}

#endif  // _WIN32
