#include "model/record.hpp"

#include <cstring>

#include "model/keys.hpp"
#include "model/texts.hpp"

namespace {

constexpr char MAGIC[] = "jinro-record ";
// The keys a record spells, as typed: i j k l z r s m b w, their capitals, and KEY_ON for
// any other.
constexpr char KEYS[] = {KEY_UP,
                         KEY_LEFT,
                         KEY_DOWN,
                         KEY_RIGHT,
                         KEY_CHOOSE,
                         KEY_AGAIN,
                         KEY_CLAIM_SEER,
                         KEY_CLAIM_MEDIUM,
                         KEY_BLACK,
                         KEY_WHITE,
                         'I',
                         'J',
                         'K',
                         'L',
                         'Z',
                         'R',
                         'S',
                         'M',
                         'B',
                         'W',
                         KEY_ON,
                         '\0'};

}  // namespace

bool parse_seed(const char* text, std::uint32_t& seed) {
    constexpr std::uint64_t LARGEST_SEED = 0xFFFFFFFFu;
    std::uint64_t value = 0;
    if (text == nullptr || text[0] == '\0') return false;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9' || c - text >= SEED_DIGITS) return false;
        value = value * 10 + static_cast<std::uint64_t>(*c - '0');
        if (value > LARGEST_SEED) return false;
    }
    seed = static_cast<std::uint32_t>(value);
    return true;
}

char spelled_key(int key) {
    const bool kept = key > 0 && key < 0x80 && std::strchr(KEYS, key) != nullptr;
    return kept ? static_cast<char>(key) : KEY_ON;
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

bool link_keys_valid(const char* text, std::size_t length) {
    if (length > RECORD_MAX_KEYS) return false;
    for (std::size_t i = 0; i < length; ++i) {
        if (text[i] == '\0' || std::strchr(KEYS, text[i]) == nullptr) return false;
    }
    return true;
}

std::string record_header(std::uint32_t seed, int language, int rules) {
    return MAGIC + std::to_string(RECORD_VERSION) + " " + std::to_string(seed) + " " +
           language_code(language) + (rules == RULES_BLUFF ? " bluff" : "") + "\n";
}

namespace {

// "1 SEED" or "2 SEED LANG" after the magic word: RECORD_OK, or what is wrong.
int parse_header(const std::string& header, Record& record) {
    const std::size_t magic = sizeof MAGIC - 1;
    if (header.compare(0, magic, MAGIC) != 0) return RECORD_BAD_SYNTAX;
    const std::size_t space = header.find(' ', magic);
    if (space == std::string::npos) return RECORD_BAD_SYNTAX;
    const std::string version = header.substr(magic, space - magic);
    if (version != "1" && version != "2") return RECORD_UNKNOWN_VERSION;
    std::string rest = header.substr(space + 1);
    if (!rest.empty() && rest.back() == '\r') rest.pop_back();
    record.language = NONE;
    record.rules = RULES_STANDARD;
    if (version == "2") {
        if (rest.size() > 6 && rest.compare(rest.size() - 6, 6, " bluff") == 0) {
            record.rules = RULES_BLUFF;
            rest.erase(rest.size() - 6);
        }
        const std::size_t language = rest.find(' ');
        if (language == std::string::npos) return RECORD_BAD_SYNTAX;
        record.language = language_named(rest.substr(language + 1).c_str());
        if (record.language < 0) return RECORD_BAD_SYNTAX;
        rest.erase(language);
    }
    return parse_seed(rest.c_str(), record.seed) ? RECORD_OK : RECORD_BAD_SEED;
}

}  // namespace

int parse_record(const char* text, std::size_t length, Record& record) {
    if (length > RECORD_MAX_BYTES) return RECORD_TOO_LARGE;
    if (std::memchr(text, '\0', length) != nullptr) return RECORD_NOT_TEXT;
    const char* end = static_cast<const char*>(std::memchr(text, '\n', length));
    const int header =
        parse_header(std::string(text, end != nullptr ? end : text + length), record);
    if (header != RECORD_OK) return header;
    if (end == nullptr) {
        record.keys.clear();
        return RECORD_OK;
    }
    const std::size_t rest = static_cast<std::size_t>(end - text) + 1;
    return parse_keys(text + rest, length - rest, record.keys);
}

std::string record_link(const Record& record) {
    return "?seed=" + std::to_string(record.seed) + "&keys=" + record.keys +
           (record.rules == RULES_BLUFF ? "&bluff=1" : "");
}
