// Signals: whatever ends or suspends the game gives the terminal back first. Everything
// here may run inside a signal handler, so it only uses async-signal-safe calls.
#ifndef _WIN32

#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/terminal.hpp"

namespace {

constexpr char LEAVE_SEQUENCE[] = "\x1b[0m\x1b[?25h\x1b[?1049l";
constexpr int LEAVE_WAITS = 10;  // a stalled output gets ten waits of LEAVE_WAIT_MS
constexpr int LEAVE_WAIT_MS = 100;

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

}  // namespace

void restore_terminal() {
    if (term.screen_on) write_bounded(LEAVE_SEQUENCE, sizeof LEAVE_SEQUENCE - 1);
    term.screen_on = 0;
    if (term.raw_on) {
        // Keys typed ahead are not left for the shell; the mode changes at once, without
        // waiting for output that a stalled terminal may never take.
        tcflush(term.in, TCIFLUSH);
        tcsetattr(term.in, TCSANOW, &term.saved);
    }
    term.raw_on = 0;
}

void stop_now() {
    term.stop_pending = 0;
    restore_terminal();
    raise_default(SIGTSTP);  // stopped here until SIGCONT
    set_handler(SIGTSTP, on_stop_signal);
    term.resumed = 1;
    wake_key_read();
}

void wake_key_read() {
    if (term.wake[1] < 0) return;
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = write(term.wake[1], &byte, 1);
}

void install_signal_handlers() {
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
        set_handler_unless_ignored(sig, on_fatal_signal);
    set_handler_unless_ignored(SIGTSTP, on_stop_signal);
    set_handler(SIGCONT, on_wake_signal);
    set_handler(SIGWINCH, on_wake_signal);
    set_handler(SIGPIPE, SIG_IGN);  // a vanished reader shows up as a failed write
}

#endif  // _WIN32
