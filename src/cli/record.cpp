#include "cli/record.hpp"

#include <cerrno>
#include <cstring>

#include "cli/options.hpp"

namespace {

constexpr char MAGIC[] = "jinro-record ";
constexpr char KEYS[] = "ijklzr.";

}  // namespace

char spelled_key(int key) {
    const bool kept = key > 0 && key < 0x80 && key != '.' && std::strchr(KEYS, key) != nullptr;
    return kept ? static_cast<char>(key) : '.';
}

int parse_keys(const char* text, std::size_t length, std::string& keys) {
    keys.clear();
    for (std::size_t i = 0; i < length; ++i) {
        const char c = text[i];
        if (c == '\n' || c == '\r') continue;
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return RECORD_NOT_TEXT;
        if (std::strchr(KEYS, c) == nullptr) return RECORD_BAD_SYNTAX;
        if (keys.size() == RECORD_MAX_KEYS) return RECORD_TOO_MANY_KEYS;
        keys += c;
    }
    return RECORD_OK;
}

std::string record_header(std::uint32_t seed) {
    return MAGIC + std::to_string(RECORD_VERSION) + " " + std::to_string(seed) + "\n";
}

int parse_record(const char* text, std::size_t length, Record& record) {
    if (length > RECORD_MAX_BYTES) return RECORD_TOO_LARGE;
    if (std::memchr(text, '\0', length) != nullptr) return RECORD_NOT_TEXT;
    const char* end = static_cast<const char*>(std::memchr(text, '\n', length));
    const std::string header(text, end != nullptr ? end : text + length);
    const std::size_t magic = sizeof MAGIC - 1;
    if (header.compare(0, magic, MAGIC) != 0) return RECORD_BAD_SYNTAX;
    const std::size_t space = header.find(' ', magic);
    if (space == std::string::npos) return RECORD_BAD_SYNTAX;
    if (header.compare(magic, space - magic, std::to_string(RECORD_VERSION)) != 0) {
        return RECORD_UNKNOWN_VERSION;
    }
    std::string seed = header.substr(space + 1);
    if (!seed.empty() && seed.back() == '\r') seed.pop_back();
    if (!parse_seed(seed.c_str(), record.seed)) return RECORD_BAD_SEED;
    if (end == nullptr) {
        record.keys.clear();
        return RECORD_OK;
    }
    const std::size_t rest = static_cast<std::size_t>(end - text) + 1;
    return parse_keys(text + rest, length - rest, record.keys);
}

int read_record_file(const char* path, Record& record) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return RECORD_READ_ERROR;
    std::string text(RECORD_MAX_BYTES + 1, '\0');
    const std::size_t got = std::fread(text.data(), 1, text.size(), file);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) return RECORD_READ_ERROR;
    return parse_record(text.data(), got, record);
}

std::FILE* create_record_file(const char* path, std::uint32_t seed, bool& exists) {
    exists = false;
    std::FILE* file = std::fopen(path, "wbx");  // never over a file that is there
    if (file == nullptr && errno == EINVAL) {   // a C library without "x": ask first
        if (std::FILE* there = std::fopen(path, "rb")) {
            std::fclose(there);
            exists = true;
            return nullptr;
        }
        file = std::fopen(path, "wb");
    }
    if (file == nullptr) {
        exists = errno == EEXIST;
        return nullptr;
    }
    const std::string header = record_header(seed);
    if (std::fputs(header.c_str(), file) < 0 || std::fflush(file) != 0) {
        std::fclose(file);
        return nullptr;
    }
    return file;
}

bool record_key(std::FILE* file, int key) {
    return std::fputc(spelled_key(key), file) != EOF && std::fflush(file) == 0;
}

std::string record_link(const Record& record) {
    return "?seed=" + std::to_string(record.seed) + "&keys=" + record.keys;
}
