#include "app/record_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <string>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32
int open_for_reading(const char* path) { return _open(path, _O_RDONLY | _O_BINARY); }
int open_new(const char* path) {
    return _open(path, _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}
bool is_regular(int fd) {
    struct _stat64 about = {};
    return _fstat64(fd, &about) == 0 && (about.st_mode & _S_IFMT) == _S_IFREG;
}
long read_some(int fd, char* into, std::size_t size) {
    return _read(fd, into, static_cast<unsigned>(size));
}
void close_descriptor(int fd) { _close(fd); }
std::FILE* stream_of(int fd) { return _fdopen(fd, "wb"); }
#else
// O_NONBLOCK: opening a FIFO does not wait for a writer; it is refused as no regular file.
int open_for_reading(const char* path) {
    return open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}
// O_EXCL fails on anything that is there, a dangling symbolic link included; O_NOFOLLOW
// says the same where a system would otherwise follow one.
int open_new(const char* path) {
    return open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0666);
}
bool is_regular(int fd) {
    struct stat about = {};
    return fstat(fd, &about) == 0 && S_ISREG(about.st_mode);
}
long read_some(int fd, char* into, std::size_t size) {
    for (;;) {
        const ssize_t n = read(fd, into, size);
        if (n >= 0 || errno != EINTR) return static_cast<long>(n);
    }
}
void close_descriptor(int fd) { close(fd); }
std::FILE* stream_of(int fd) { return fdopen(fd, "wb"); }
#endif

}  // namespace

int read_record_file(const char* path, Record& record, int& system_error) {
    system_error = 0;
    const int fd = open_for_reading(path);
    if (fd < 0) {
        system_error = errno;
        return RECORD_READ_ERROR;
    }
    if (!is_regular(fd)) {
        close_descriptor(fd);
        return RECORD_NOT_REGULAR;
    }
    std::string text(RECORD_MAX_BYTES + 1, '\0');
    std::size_t got = 0;
    while (got < text.size()) {
        const long n = read_some(fd, text.data() + got, text.size() - got);
        if (n < 0) {
            system_error = errno;
            close_descriptor(fd);
            return RECORD_READ_ERROR;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    close_descriptor(fd);
    return parse_record(text.data(), got, record);
}

bool create_record_file(RecordFile& record, const char* path, std::uint32_t seed, int language,
                        int rules, bool& exists) {
    record = {nullptr, path, 0, 0, false};
    exists = false;
    const int fd = open_new(path);
    if (fd < 0) {
        record.error = errno;
        exists = errno == EEXIST;
        return false;
    }
    record.file = stream_of(fd);
    if (record.file == nullptr) {
        record.error = errno;
        close_descriptor(fd);
        return false;
    }
    const std::string header = record_header(seed, language, rules);
    if (std::fputs(header.c_str(), record.file) < 0 || std::fflush(record.file) != 0) {
        record.error = errno;
        close_record_file(record);
        return false;
    }
    return true;
}

bool record_key(RecordFile& record, int key) {
    if (record.file == nullptr) return true;
    if (std::fputc(spelled_key(key), record.file) == EOF || std::fflush(record.file) != 0) {
        record.error = errno != 0 ? errno : EIO;
        close_record_file(record);
        return false;
    }
    record.keys += 1;
    if (record.keys >= RECORD_MAX_KEYS) {
        record.full = true;
        close_record_file(record);
    }
    return true;
}

void close_record_file(RecordFile& record) {
    if (record.file != nullptr) std::fclose(record.file);
    record.file = nullptr;
}
