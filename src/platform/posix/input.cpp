// Input: bytes read from standard input as room allows, decoded into keys in the
// locale's codeset; cursor-position replies are taken aside. Reading and waiting survive
// signals and non-blocking descriptors.
#ifndef _WIN32

#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/terminal.hpp"

namespace {

constexpr int PROBE_ROW = 2;  // the row the width probe draws on

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

void read_input() {
    PendingInput& in = term.input;
    const ssize_t n = read(term.in, in.bytes + in.length, input_room(in));
    if (n > 0) {
        in.length += static_cast<std::size_t>(n);
    } else if (n == 0) {
        term.ended = true;
    } else if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) {
        term.failed = true;
    }
}

void drain_wake_pipe() {
    char bytes[64];
    while (read(term.wake[0], bytes, sizeof bytes) > 0) {
    }
}

}  // namespace

void wait_for_input(int timeout_ms) {
    // Without room for more, standard input waits where it is (in the kernel).
    const int in = input_room(term.input) > 0 ? term.in : -1;
    pollfd fds[2] = {{in, POLLIN, 0}, {term.wake[0], POLLIN, 0}};
    const int ready = poll(fds, 2, timeout_ms);
    if (ready < 0) {  // a signal: the caller looks at the flags; anything else is the end
        if (errno != EINTR && errno != EAGAIN) term.failed = true;
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

int end_of_file_key() {
    if (!term.input_tty) return -1;
    const cc_t key = term.saved.c_cc[VEOF];
    return key == _POSIX_VDISABLE ? -1 : key;
}

#endif  // _WIN32
