// The console on Linux, macOS and the BSDs. The screen of cells goes out in one write per
// frame, only what changed, on the alternate screen with the cursor hidden. The terminal
// runs in raw mode without echo, Ctrl-C still interrupting; it is given back as it was at
// exit, on a fatal signal and while the game is suspended with Ctrl-Z. Without a terminal
// that can place the cursor, every screen goes out as plain text.
//
// From low to high: the state, giving the terminal back (signal handlers), output, input,
// raw mode and frames, and the console operations the game calls.
#ifndef _WIN32

#include "platform/console.hpp"

#include <fcntl.h>
#include <iconv.h>
#include <langinfo.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "model/sjis.hpp"
#include "platform/frame.hpp"
#include "platform/key_decoder.hpp"
#include "platform/locale.hpp"
#include "platform/terminal_text.hpp"
#include "platform/vt.hpp"

namespace {

// --- state -------------------------------------------------------------------------------

constexpr int PROBE_TIMEOUT_MS = 250;  // a terminal that never answers costs this once
constexpr int PROBE_SLICE_MS = 10;
constexpr int PROBE_ROW = 2;           // the row the width probe draws on
constexpr int ESCAPE_TIMEOUT_MS = 50;  // a lone Escape versus the start of a sequence
constexpr int LEAVE_WAITS = 10;        // a stalled output gets ten waits of LEAVE_WAIT_MS
constexpr int LEAVE_WAIT_MS = 100;

// Plain data, initialised before any code runs: the console opens during static
// initialisation. The signal handlers read and write the volatile fields.
struct Terminal {
    int in;
    int out;
    bool input_tty;
    bool output_tty;
    bool plain;  // frames as plain text: output is no terminal, or one without cursor addressing
    termios saved;
    termios raw;
    volatile sig_atomic_t raw_on;
    volatile sig_atomic_t screen_on;      // alternate screen entered, cursor hidden
    volatile sig_atomic_t writing_frame;  // a frame is on its way out: Ctrl-Z waits for it
    volatile sig_atomic_t stop_pending;   // Ctrl-Z came while a frame was being written
    volatile sig_atomic_t resized;
    volatile sig_atomic_t resumed;
    bool started;
    bool width_known;        // a cursor-position reply has told the ambiguous width
    int keys_before_notice;  // queued keys that came before the notice went up
    bool ended;              // input has ended
    bool failed;             // reading or writing failed
    int failure;             // CONSOLE_READ_FAILED or CONSOLE_WRITE_FAILED
    int failure_errno;       // and the errno of the call that failed
    TerminalView view;       // its encoding: OUTPUT_UTF8 or OUTPUT_SHIFT_JIS
    const char* too_small;   // what stands instead of the game in a window too small
    iconv_t to_locale;       // Shift-JIS to EUC-JP, where the locale wants that
    int wake[2];             // self-pipe: signal handlers wake the key read; -1 without one
    PendingInput input;      // also keeps keys typed while the start-up probe waits
    bool closed[3];          // standard descriptors that were closed at start (now /dev/null)
    char last_words[256];    // console_keep_last_words, converted
    std::size_t last_words_length;
    volatile sig_atomic_t interrupted;  // an interrupt came while console_catch_interrupt holds
};

constinit Terminal term = {};

// iconv_open's documented failure value, (iconv_t)-1.
iconv_t no_conversion() {
    return reinterpret_cast<iconv_t>(-1);  // NOLINT(performance-no-int-to-ptr): as iconv defines it
}

// --- giving the terminal back --------------------------------------------------------------
// Everything in this section may run inside a signal handler: async-signal-safe calls only.

// Writes a few bytes, waiting a bounded time where a non-blocking output is full: a
// terminal that never reads must not keep Ctrl-C from ending the game.
void write_bounded(const char* bytes, std::size_t length) {
    for (int waits = 0; length > 0 && waits < LEAVE_WAITS;) {
        const ssize_t n = write(term.out, bytes, length);
        if (n > 0) {
            bytes += n;
            length -= static_cast<std::size_t>(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd writable = {term.out, POLLOUT, 0};
            poll(&writable, 1, LEAVE_WAIT_MS);
            ++waits;
        } else if (n == 0 || errno != EINTR) {
            return;
        }
    }
}

// Leaves the game's screen, shows the cursor and restores the terminal's mode.
void restore_terminal() {
    if (term.screen_on) write_bounded(vt::LEAVE, sizeof vt::LEAVE - 1);
    term.screen_on = 0;
    if (term.raw_on) {
        // Keys typed ahead are not left for the shell; the mode changes at once, without
        // waiting for output that a stalled terminal may never take.
        tcflush(term.in, TCIFLUSH);
        tcsetattr(term.in, TCSANOW, &term.saved);
    }
    term.raw_on = 0;
}

void set_handler(int sig, void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    sigaction(sig, &action, nullptr);
}

void set_handler_unless_ignored(int sig, void (*handler)(int)) {
    struct sigaction current = {};
    if (sigaction(sig, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) return;
    set_handler(sig, handler);
}

// Lets the signal do what it would have done without the game.
void raise_default(int sig) {
    set_handler(sig, SIG_DFL);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, sig);
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
    raise(sig);
}

// Wakes a key read that waits in poll.
void wake_key_read() {
    if (term.wake[1] < 0) return;
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = write(term.wake[1], &byte, 1);
}

void on_stop_signal(int sig);

// Suspends the process now, the terminal given back, until it is continued.
void stop_now() {
    term.stop_pending = 0;
    restore_terminal();
    raise_default(SIGTSTP);  // stopped here until SIGCONT
    set_handler(SIGTSTP, on_stop_signal);
    term.resumed = 1;
    wake_key_read();
}

void on_fatal_signal(int sig) {
    restore_terminal();
    raise_default(sig);
}

// A frame being written is finished first: the stop then comes from send_output.
void on_stop_signal(int /*sig*/) {
    if (term.writing_frame) {
        term.stop_pending = 1;
        return;
    }
    const int saved_errno = errno;
    stop_now();
    errno = saved_errno;
}

void on_wake_signal(int sig) {
    const int saved_errno = errno;
    if (sig == SIGWINCH) {
        term.resized = 1;
    } else {
        term.resumed = 1;
    }
    wake_key_read();
    errno = saved_errno;
}

// Ctrl-C, termination, hangup and quit give the terminal back and end the process; Ctrl-Z
// suspends it with the terminal given back. Signals that were ignored when the game
// started stay ignored.
void install_signal_handlers() {
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
        set_handler_unless_ignored(sig, on_fatal_signal);
    set_handler_unless_ignored(SIGTSTP, on_stop_signal);
    set_handler(SIGCONT, on_wake_signal);
    set_handler(SIGWINCH, on_wake_signal);
    set_handler(SIGPIPE, SIG_IGN);  // a vanished reader shows up as a failed write
}

// Reading or writing failed for good: the game cannot go on.
void fail(int what) {
    if (term.failed) return;
    term.failed = true;
    term.failure = what;
    term.failure_errno = errno != 0 ? errno : EIO;
}

// --- output ------------------------------------------------------------------------------

// Waits until fd takes more output. False when it never will.
bool wait_writable(int fd) {
    pollfd writable = {fd, POLLOUT, 0};
    const int ready = poll(&writable, 1, -1);
    if (ready < 0) return errno == EINTR || errno == EAGAIN;
    return (writable.revents & (POLLERR | POLLNVAL)) == 0;
}

// Writes everything, waiting while a non-blocking descriptor is full. False on an error.
bool write_all(int fd, const char* bytes, std::size_t length) {
    while (length > 0) {
        const ssize_t n = write(fd, bytes, length);
        if (n > 0) {
            bytes += n;
            length -= static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!wait_writable(fd)) return false;
        } else {
            return false;
        }
    }
    return true;
}

// Shift-JIS and UTF-8 pass as they are; EUC-JP goes through iconv. Escape sequences are
// ASCII and pass; a character the codeset lacks becomes "?". False if iconv failed.
bool convert_to_locale(std::string& bytes) {
    if (term.to_locale == no_conversion() || bytes.empty()) return true;
    std::string converted(bytes.size() * 2 + 16, '\0');
    char* in = bytes.data();
    std::size_t in_left = bytes.size();
    std::size_t done = 0;
    iconv(term.to_locale, nullptr, nullptr, nullptr, nullptr);
    while (in_left > 0) {
        char* out = converted.data() + done;
        std::size_t out_left = converted.size() - done;
        const std::size_t result = iconv(term.to_locale, &in, &in_left, &out, &out_left);
        done = converted.size() - out_left;
        if (result != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) {  // never cut a frame short: make room and go on
            converted.resize(converted.size() * 2);
        } else if (errno == EILSEQ || errno == EINVAL) {
            if (done == converted.size()) converted.resize(converted.size() * 2);
            converted[done++] = '?';
            const std::size_t skip = std::max<std::size_t>(
                sjis::char_length(reinterpret_cast<const unsigned char*>(in), in_left), 1);
            in += skip;
            in_left -= skip;
        } else {
            return false;
        }
    }
    converted.resize(done);
    bytes.swap(converted);
    return true;
}

// Sends a frame in one write; a Ctrl-Z that came meanwhile takes effect afterwards. A
// failed write ends the game.
void send_output(std::string& bytes) {
    if (!convert_to_locale(bytes)) {
        // Nothing of this frame went out: the next one repaints everything.
        bytes.clear();
        invalidate_view(term.view);
        return;
    }
    term.writing_frame = 1;
    errno = EBADF;
    const bool sent =
        !term.closed[STDOUT_FILENO] && write_all(term.out, bytes.data(), bytes.size());
    term.writing_frame = 0;
    bytes.clear();
    if (!sent) fail(CONSOLE_WRITE_FAILED);
    if (term.stop_pending) stop_now();
}

// --- input -------------------------------------------------------------------------------

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

void decode(bool more_may_come) {
    decode_pending(term.input, more_may_come);
    if (term.input.reply.kind == INPUT_POSITION) take_position_reply(term.input.reply);
    term.input.reply = {};
}

// Reads as many bytes as the key queue can take.
void read_input() {
    PendingInput& in = term.input;
    const ssize_t n = read(term.in, in.bytes + in.length, input_room(in));
    if (n > 0) {
        in.length += static_cast<std::size_t>(n);
    } else if (n == 0) {
        term.ended = true;
    } else if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) {
        fail(CONSOLE_READ_FAILED);
    }
}

void drain_wake_pipe() {
    char bytes[64];
    while (read(term.wake[0], bytes, sizeof bytes) > 0) {
    }
}

// Waits up to timeout_ms (-1: for ever) for input or a signal; then reads and decodes.
void wait_for_input(int timeout_ms) {
    // Without room for more, standard input waits where it is (in the kernel).
    const int in = input_room(term.input) > 0 ? term.in : -1;
    pollfd fds[2] = {{in, POLLIN, 0}, {term.wake[0], POLLIN, 0}};
    const int ready = poll(fds, 2, timeout_ms);
    if (ready < 0) {  // a signal: the caller looks at the flags; anything else is the end
        if (errno != EINTR && errno != EAGAIN) fail(CONSOLE_READ_FAILED);
        return;
    }
    if (fds[1].revents != 0) drain_wake_pipe();
    if (ready == 0) {  // nothing more came: what is pending is complete
        decode(false);
        return;
    }
    if (fds[0].revents != 0) read_input();
    decode(!term.ended && !term.failed);
}

// The terminal's end-of-file key (Ctrl-D) in raw mode, or -1 when there is none.
int end_of_file_key() {
    if (!term.input_tty) return -1;
    const cc_t key = term.saved.c_cc[VEOF];
    return key == _POSIX_VDISABLE ? -1 : key;
}

// --- modes and frames --------------------------------------------------------------------

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
// later (the wake-up pipe) can take their place; writing to them still fails, as
// writing to a closed descriptor does.
void open_standard_descriptors() {
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        term.closed[fd] = true;
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

// The locale's codeset decides the output: EUC-JP is converted from Shift-JIS.
int open_output_encoding(int codeset, const char* codeset_name) {
    term.to_locale = no_conversion();
    if (codeset == CODESET_EUC_JP) term.to_locale = iconv_open(codeset_name, "CP932");
    if (codeset == CODESET_EUC_JP && term.to_locale == no_conversion()) return OUTPUT_UTF8;
    return output_encoding(codeset);
}

bool window_fits() {
    winsize size = {};
    if (ioctl(term.out, TIOCGWINSZ, &size) != 0 || size.ws_col == 0) return true;
    return size.ws_col >= SCREEN_COLUMNS && size.ws_row >= SCREEN_ROWS;
}

// Finds out how wide the terminal draws ─: one such character on a known row, then a
// cursor-position request, sent with what out holds already and answered within a short
// time or never (then one column).
void probe_ambiguous_width(std::string& out) {
    out += vt::ERASE;
    char move[16];
    std::snprintf(move, sizeof move, vt::MOVE_FORMAT, PROBE_ROW, 1);
    out += move;
    if (term.view.encoding == OUTPUT_UTF8) {  // exactly one character, however wide it is drawn
        append_utf8(out, U'─');
    } else {
        out += "─"_sj;
    }
    out += vt::ASK_POSITION;
    send_output(out);
    // Counted in slices rather than against the clock, which may be frozen or jump.
    for (int slice = 0; slice < PROBE_TIMEOUT_MS / PROBE_SLICE_MS; ++slice) {
        if (term.width_known || term.ended || term.failed) break;
        wait_for_input(PROBE_SLICE_MS);
    }
}

void present(const Screen& screen) {
    std::string out;
    const bool fits = term.plain || window_fits();
    if (append_present(term.view, screen, term.too_small, term.plain, fits, out) ==
        PRESENT_NOTICE) {
        term.keys_before_notice = term.input.key_count;  // these were typed before: kept
    }
    send_output(out);
}

void resume_after_stop() {
    enter_raw_mode();
    if (term.plain) return;
    std::string out = vt::ENTER;
    send_output(out);
    term.screen_on = 1;
    invalidate_view(term.view);
}

// Keys typed while the notice is up never reach the game; the end-of-file key still
// ends it.
void discard_keys_while_too_small() {
    if (!term.view.notice_up) return;
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

void close_process_console() { console_close(); }

}  // namespace

// --- the console operations ----------------------------------------------------------------

void console_open() {
    open_standard_descriptors();
    term.in = STDIN_FILENO;
    term.out = STDOUT_FILENO;
    term.too_small = "";
    term.input_tty = isatty(term.in) == 1 && tcgetattr(term.in, &term.saved) == 0;
    term.output_tty = isatty(term.out) == 1;
    term.plain = !term.output_tty || cannot_place_cursor();
    std::setlocale(LC_CTYPE, "");
    const char* codeset_name = nl_langinfo(CODESET);
    term.input.codeset = codeset_from_name(codeset_name);
    term.view = make_terminal_view(open_output_encoding(term.input.codeset, codeset_name),
                                   AMBIGUOUS_NARROW);
    open_wake_pipe();
    // A file-size limit (ulimit -f) on a record or on redirected output: the write that
    // crosses it fails with EFBIG and is reported like any other failed write, instead of
    // the signal killing the game with the terminal still in its mode.
    set_handler(SIGXFSZ, SIG_IGN);
    std::atexit(close_process_console);
}

void console_start(int ambiguous_columns, const char* too_small) {
    if (term.started) return;
    term.started = true;
    term.too_small = too_small;
    if (term.input_tty) {
        make_raw_settings();
        enter_raw_mode();
    }
    install_signal_handlers();
    if (term.plain) return;
    const bool ask = ambiguous_columns == AMBIGUOUS_ASK_TERMINAL;
    term.view.ambiguous_columns = ask ? AMBIGUOUS_NARROW : ambiguous_columns;
    term.width_known = !ask;
    std::string out = vt::ENTER;
    term.screen_on = 1;
    if (ask && term.input_tty) {
        probe_ambiguous_width(out);
    } else {
        send_output(out);
    }
    invalidate_view(term.view);
}

void console_restore() { restore_terminal(); }

void console_close() { console_restore(); }

bool console_speaks_japanese() { return environment_speaks_japanese() == 1; }

bool console_message(const char* text, bool to_error) {
    const int fd = to_error ? STDERR_FILENO : STDOUT_FILENO;
    std::string bytes;
    append_text(bytes, text, term.view.encoding);
    errno = EBADF;
    if (term.closed[fd]) return false;
    errno = 0;
    if (!convert_to_locale(bytes)) return false;
    return write_all(fd, bytes.data(), bytes.size());
}

bool console_error_is_terminal() {
    return !term.closed[STDERR_FILENO] && isatty(STDERR_FILENO) == 1;
}

bool console_error_beside_screen() { return term.plain || !console_error_is_terminal(); }

namespace {

void on_interrupt(int /*sig*/) { term.interrupted = 1; }

}  // namespace

void console_catch_interrupt() {
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) set_handler_unless_ignored(sig, on_interrupt);
    set_handler(SIGPIPE, SIG_IGN);  // a vanished reader shows up as a failed write
}

bool console_interrupted() { return term.interrupted != 0; }

void console_keep_last_words(const char* text) {
    std::string bytes;
    append_text(bytes, text, term.view.encoding);
    if (!convert_to_locale(bytes)) return;
    term.last_words_length = std::min(bytes.size(), sizeof term.last_words);
    std::memcpy(term.last_words, bytes.data(), term.last_words_length);
}

void console_last_words() {
    restore_terminal();
    if (term.closed[STDERR_FILENO]) return;
    const char* bytes = term.last_words;
    std::size_t length = term.last_words_length;
    while (length > 0) {
        const ssize_t n = write(STDERR_FILENO, bytes, length);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        bytes += n;
        length -= static_cast<std::size_t>(n);
    }
}

int console_failure(int& error) {
    error = term.failure_errno;
    return term.failed ? term.failure : 0;
}

namespace {

// Milliseconds of a clock that only goes forward and never wraps.
std::int64_t monotonic_ms() {
    timespec now = {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// A key, waiting for ever (timeout_ms -1) or at most timeout_ms.
int read_key(const Console& console, int timeout_ms) {
    if (!term.started) console_start(AMBIGUOUS_ASK_TERMINAL, "");
    if (!term.failed) present(console.screen);
    const std::int64_t deadline = monotonic_ms() + timeout_ms;
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
        if (!term.plain && !term.view.valid && !term.view.notice_up) present(console.screen);
        int wait = term.input.length > 0 ? ESCAPE_TIMEOUT_MS : -1;
        if (timeout_ms >= 0) {
            const auto left =
                static_cast<int>(std::max<std::int64_t>(deadline - monotonic_ms(), 0));
            if (left <= 0) return KEY_TIMEOUT;
            wait = wait < 0 || left < wait ? left : wait;
        }
        wait_for_input(wait);
    }
    term.ended = true;
    return KEY_END_OF_INPUT;
}

}  // namespace

int console_read_key(const Console& console) { return read_key(console, -1); }

int console_read_key_within(const Console& console, int timeout_ms) {
    return read_key(console, timeout_ms < 0 ? 0 : timeout_ms);
}

#endif  // _WIN32
