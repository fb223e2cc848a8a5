// Output: the frame collected in one buffer, converted to the locale's codeset where that
// is not UTF-8 or Shift-JIS, and written whole even where the descriptor is non-blocking.
#ifndef _WIN32

#include <poll.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>

#include "model/sjis.hpp"
#include "platform/posix/terminal.hpp"

namespace {

// iconv_open's documented failure value, (iconv_t)-1.
iconv_t no_conversion() {
    return reinterpret_cast<iconv_t>(-1);  // NOLINT(performance-no-int-to-ptr): as iconv defines it
}

// Waits until fd takes more output. False when it never will.
bool wait_writable(int fd) {
    pollfd writable = {fd, POLLOUT, 0};
    const int ready = poll(&writable, 1, -1);
    if (ready < 0) return errno == EINTR || errno == EAGAIN;
    return (writable.revents & (POLLERR | POLLNVAL)) == 0;
}

}  // namespace

std::string& output() {
    static std::string buffer;
    return buffer;
}

// Shift-JIS passes through, EUC-JP and the like go through iconv, and everything else is
// taken as UTF-8 (a C locale usually means UTF-8 today).
int choose_encoding(const char* codeset) {
    std::string name = codeset != nullptr ? codeset : "";
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    term.to_locale = no_conversion();
    if (codeset_from_name(codeset) == CODESET_SHIFT_JIS) return OUTPUT_SHIFT_JIS;
    if (name.find("EUC") != std::string::npos) {
        term.to_locale = iconv_open(codeset, "CP932");
        if (term.to_locale != no_conversion()) return OUTPUT_SHIFT_JIS;
    }
    return OUTPUT_UTF8;
}

// Escape sequences are ASCII and pass; a character the codeset lacks becomes "?".
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
            const bool wide = sjis::is_lead_byte(static_cast<unsigned char>(*in)) && in_left > 1;
            in += wide ? 2 : 1;
            in_left -= wide ? 2 : 1;
        } else {
            return false;
        }
    }
    converted.resize(done);
    bytes.swap(converted);
    return true;
}

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

void send_output() {
    std::string& bytes = output();
    if (!convert_to_locale(bytes)) {
        // Nothing of this frame went out: the next one repaints everything.
        bytes.clear();
        invalidate_view(term.view);
        return;
    }
    term.writing_frame = 1;
    const bool sent = write_all(term.out, bytes.data(), bytes.size());
    term.writing_frame = 0;
    bytes.clear();
    if (!sent) term.failed = true;
    if (term.stop_pending) stop_now();
}

#endif  // _WIN32
