// The console on Linux and macOS terminals. The screen of cells goes out in one write per
// frame, only what changed, on the alternate screen with the cursor hidden. The terminal
// runs in raw mode without echo, Ctrl-C still interrupting; it is given back as it was at
// exit, on a fatal signal and while the game is suspended with Ctrl-Z.
#ifndef _WIN32

#include <fcntl.h>
#include <iconv.h>
#include <langinfo.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <string>

#include "console/console.hpp"
#include "console/glyphs.hpp"
#include "model/sjis.hpp"
#include "platform/frame.hpp"
#include "platform/key_decoder.hpp"
#include "platform/terminal_text.hpp"

namespace {

constexpr int PROBE_TIMEOUT_MS = 250;  // a terminal that never answers costs this once
constexpr int PROBE_SLICE_MS = 10;
constexpr int ESCAPE_TIMEOUT_MS = 50;  // a lone Escape versus the start of a sequence
constexpr int PROBE_ROW = 2;           // a reply on row 1 could be read as Shift-F3

constexpr char ENTER_SEQUENCE[] = "\x1b[?1049h\x1b[?25l";
constexpr char LEAVE_SEQUENCE[] = "\x1b[0m\x1b[?25h\x1b[?1049l";

// iconv_open's documented failure value, (iconv_t)-1. A function, not a constant: the
// console opens during static initialisation.
iconv_t no_conversion() {
    return reinterpret_cast<iconv_t>(-1);  // NOLINT(performance-no-int-to-ptr): as iconv defines it
}

struct Terminal {
    int in;
    int out;
    bool input_tty;
    bool output_tty;
    termios saved;
    termios raw;
    volatile sig_atomic_t raw_on;
    volatile sig_atomic_t screen_on;  // alternate screen entered, cursor hidden
    bool started;
    bool width_known;  // a cursor-position reply has told the ambiguous width
    bool too_small;
    bool ended;
    TerminalView view;
    int encoding;        // OUTPUT_UTF8 or OUTPUT_SHIFT_JIS
    iconv_t to_locale;   // Shift-JIS to the locale's codeset, where that is neither
    int wake[2];         // self-pipe: signal handlers wake the key read
    PendingInput input;  // also keeps keys typed while the start-up probe waits
};

// Plain data, initialised before any code runs: the console is opened during static
// initialisation, possibly before this file's dynamic initialisers.
constinit Terminal term = {};
volatile sig_atomic_t resized = 0;
volatile sig_atomic_t resumed = 0;

// --- giving the terminal back (async-signal-safe) ---------------------------------------

void write_raw(const char* bytes, std::size_t length) {
    while (length > 0) {
        const ssize_t n = write(term.out, bytes, length);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        bytes += n;
        length -= static_cast<std::size_t>(n);
    }
}

void restore_terminal() {
    if (term.screen_on) write_raw(LEAVE_SEQUENCE, sizeof LEAVE_SEQUENCE - 1);
    term.screen_on = 0;
    if (term.raw_on) tcsetattr(term.in, TCSAFLUSH, &term.saved);
    term.raw_on = 0;
}

void wake_key_read() {
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = write(term.wake[1], &byte, 1);
}

void set_handler(int sig, void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    sigaction(sig, &action, nullptr);
}

// Gives the terminal back, then lets the signal do what it would have done.
void raise_default(int sig) {
    set_handler(sig, SIG_DFL);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, sig);
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
    raise(sig);
}

void on_fatal_signal(int sig) {
    restore_terminal();
    raise_default(sig);
}

void on_stop_signal(int sig) {
    const int saved_errno = errno;
    restore_terminal();
    raise_default(sig);  // stops here until SIGCONT
    set_handler(sig, on_stop_signal);
    resumed = 1;
    wake_key_read();
    errno = saved_errno;
}

void on_wake_signal(int sig) {
    const int saved_errno = errno;
    if (sig == SIGWINCH) {
        resized = 1;
    } else {
        resumed = 1;
    }
    wake_key_read();
    errno = saved_errno;
}

void install_signal_handlers() {
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) set_handler(sig, on_fatal_signal);
    set_handler(SIGTSTP, on_stop_signal);
    set_handler(SIGCONT, on_wake_signal);
    set_handler(SIGWINCH, on_wake_signal);
    set_handler(SIGPIPE, SIG_IGN);  // a vanished reader shows up as a failed write
}

// --- raw mode and output ---------------------------------------------------------------

// The frame being collected, sent in one write.
std::string& output() {
    static std::string buffer;
    return buffer;
}

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

// The terminal's codeset: Shift-JIS passes through, EUC-JP and the like go through
// iconv, and everything else is taken as UTF-8 (a C locale usually means UTF-8 today).
int choose_encoding() {
    std::setlocale(LC_CTYPE, "");
    const char* codeset = nl_langinfo(CODESET);
    std::string name = codeset != nullptr ? codeset : "";
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    term.to_locale = no_conversion();
    if (name.find("SJIS") != std::string::npos || name.find("SHIFT") != std::string::npos ||
        name == "CP932" || name == "WINDOWS-31J") {
        return OUTPUT_SHIFT_JIS;
    }
    if (name.find("EUC") != std::string::npos) {
        term.to_locale = iconv_open(codeset, "CP932");
        if (term.to_locale != no_conversion()) return OUTPUT_SHIFT_JIS;
    }
    return OUTPUT_UTF8;
}

// Converts Shift-JIS output to the locale's codeset; escape sequences are ASCII and pass.
void convert_to_locale(std::string& bytes) {
    if (term.to_locale == no_conversion()) return;
    std::string converted(bytes.size() * 2 + 16, '\0');
    char* in = bytes.data();
    std::size_t in_left = bytes.size();
    char* out = converted.data();
    std::size_t out_left = converted.size();
    iconv(term.to_locale, nullptr, nullptr, nullptr, nullptr);
    while (in_left > 0 && out_left > 0) {
        if (iconv(term.to_locale, &in, &in_left, &out, &out_left) != static_cast<std::size_t>(-1)) {
            break;
        }
        if (errno == E2BIG) break;
        *out++ = '?';  // a character the codeset lacks
        --out_left;
        const bool wide = sjis::is_lead_byte(static_cast<unsigned char>(*in)) && in_left > 1;
        in += wide ? 2 : 1;
        in_left -= wide ? 2 : 1;
    }
    converted.resize(converted.size() - out_left);
    bytes.swap(converted);
}

// Sends the collected output in one write. A terminal that is gone ends the game.
void flush_output() {
    convert_to_locale(output());
    const char* bytes = output().data();
    std::size_t length = output().size();
    while (length > 0) {
        const ssize_t n = write(term.out, bytes, length);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            term.ended = true;
            break;
        }
        bytes += n;
        length -= static_cast<std::size_t>(n);
    }
    output().clear();
}

bool window_too_small() {
    winsize size = {};
    if (ioctl(term.out, TIOCGWINSZ, &size) != 0 || size.ws_col == 0) return false;
    return size.ws_col < SCREEN_COLUMNS || size.ws_row < SCREEN_ROWS;
}

void append_too_small_notice() {
    output() += "\x1b[0m\x1b[H\x1b[2J";
    append_text(output(), "画面が小さすぎます。76x24 以上に広げてください。"_sj,
                term.view.encoding);
}

// --- keys ---------------------------------------------------------------------------

// A reply to the width probe: the probe character left the cursor in column 2 or 3.
void take_position_reply(const DecodedInput& reply) {
    if (term.width_known || reply.row != PROBE_ROW) return;
    if (reply.column != 2 && reply.column != 3) return;
    term.width_known = true;
    if (term.view.ambiguous_columns != reply.column - 1) {
        term.view.ambiguous_columns = reply.column - 1;
        invalidate_view(term.view);  // a late reply: repaint in the right width
    }
}

// Decodes what has been read; a cursor-position reply is taken at once.
void decode(bool more_may_come) {
    decode_pending(term.input, more_may_come);
    if (term.input.reply.kind == INPUT_POSITION) take_position_reply(term.input.reply);
    term.input.reply = {};
}

// Reads what is there into the input buffer. Returns false at end of input.
bool read_input() {
    PendingInput& in = term.input;
    const std::size_t room = INPUT_BUFFER_SIZE - in.length;
    if (room == 0) return true;
    const ssize_t n = read(term.in, in.bytes + in.length, room);
    if (n > 0) in.length += static_cast<std::size_t>(n);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) return true;
    return n > 0;
}

void drain_wake_pipe() {
    char bytes[64];
    while (read(term.wake[0], bytes, sizeof bytes) > 0) {
    }
}

// Waits up to timeout_ms (-1: for ever) for input or a signal; then reads and decodes.
void wait_for_input(int timeout_ms) {
    pollfd fds[2] = {{term.in, POLLIN, 0}, {term.wake[0], POLLIN, 0}};
    const int ready = poll(fds, 2, timeout_ms);
    if (ready < 0) return;  // interrupted by a signal: the caller looks at the flags
    if (fds[1].revents != 0) drain_wake_pipe();
    if (ready == 0) {  // nothing more came: what is pending is complete
        decode(false);
        return;
    }
    if (fds[0].revents != 0 && !read_input()) term.ended = true;
    decode(!term.ended);
}

// --- frames ----------------------------------------------------------------------------

// Enters the alternate screen and finds out how wide the terminal draws ─: one such
// character on a known row, then a cursor-position request, answered within a short time
// or never (then one column).
void start_terminal() {
    term.started = true;
    term.view = make_terminal_view(term.encoding, 1);
    output() += ENTER_SEQUENCE;
    term.screen_on = 1;
    if (!term.input_tty) {
        flush_output();
        return;
    }
    output() += "\x1b[H\x1b[2J\x1b[2;1H";
    if (term.view.encoding == OUTPUT_UTF8) {  // exactly one character, however wide it is drawn
        append_utf8(output(), U'─');
    } else {
        output() += "─"_sj;
    }
    output() += "\x1b[6n";
    flush_output();
    // Counted in slices rather than against the clock, which may be frozen or jump.
    for (int slice = 0; slice < PROBE_TIMEOUT_MS / PROBE_SLICE_MS; ++slice) {
        if (term.width_known || term.ended) break;
        wait_for_input(PROBE_SLICE_MS);
    }
    invalidate_view(term.view);
}

void present(const Screen& screen) {
    if (!term.output_tty) {
        append_plain_frame(screen, term.encoding, output());
        flush_output();
        return;
    }
    if (!term.started) start_terminal();
    if (window_too_small()) {
        if (!term.too_small) append_too_small_notice();
        term.too_small = true;
        invalidate_view(term.view);
    } else {
        term.too_small = false;
        append_frame(term.view, screen, output());
    }
    flush_output();
}

void resume_after_stop() {
    enter_raw_mode();
    write_raw(ENTER_SEQUENCE, sizeof ENTER_SEQUENCE - 1);
    term.screen_on = 1;
    invalidate_view(term.view);
}

void close_process_console() { console_close(process_console()); }

}  // namespace

void console_open(Console& console) {
    term.in = console.input = STDIN_FILENO;
    term.out = console.output = STDOUT_FILENO;
    term.input_tty = isatty(term.in) == 1;
    term.output_tty = isatty(term.out) == 1;
    term.encoding = choose_encoding();
    if (pipe(term.wake) == 0) {
        for (int fd : term.wake) {
            fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
            fcntl(fd, F_SETFD, FD_CLOEXEC);
        }
    }
    if (term.input_tty && tcgetattr(term.in, &term.saved) == 0) {
        make_raw_settings();
        enter_raw_mode();
    } else {
        term.input_tty = false;
    }
    install_signal_handlers();
    std::atexit(close_process_console);
}

void console_close(Console& /*console*/) { restore_terminal(); }

int console_read_key(const Console& console) {
    if (!term.ended) present(console.screen);
    for (;;) {
        int key = 0;
        if (take_key(term.input, key)) {
            // In raw mode the terminal's end-of-file key (Ctrl-D) arrives as a byte.
            const cc_t end_key = term.saved.c_cc[VEOF];
            if (term.input_tty && end_key != _POSIX_VDISABLE && key == end_key) {
                term.ended = true;
                return KEY_END_OF_INPUT;
            }
            return key;
        }
        if (term.ended) return KEY_END_OF_INPUT;
        if (resumed) {
            resumed = 0;
            resume_after_stop();
            present(console.screen);
        }
        if (resized) {  // a new window size: repaint the frame, the game does not move
            resized = 0;
            if (term.output_tty) {
                invalidate_view(term.view);
                present(console.screen);
            }
        }
        if (term.output_tty && !term.view.valid && !term.too_small) present(console.screen);
        wait_for_input(term.input.length > 0 ? ESCAPE_TIMEOUT_MS : -1);
    }
}

#endif  // _WIN32
