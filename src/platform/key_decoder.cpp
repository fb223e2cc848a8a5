#include "platform/key_decoder.hpp"

#include <cctype>
#include <cstring>
#include <initializer_list>
#include <string>

#include "model/sjis.hpp"
#include "platform/console.hpp"

namespace {

constexpr unsigned char ESC = 0x1B;

std::size_t key(DecodedInput& out, int value, std::size_t taken) {
    out = {INPUT_KEY, value, 0, 0};
    return taken;
}

// A sequence not yet complete: wait for more, or take what there is as one key.
std::size_t incomplete(DecodedInput& out, std::size_t length, bool more_may_come) {
    if (more_may_come && length < MAX_SEQUENCE_BYTES) return 0;
    const std::size_t taken = length < MAX_SEQUENCE_BYTES ? length : MAX_SEQUENCE_BYTES;
    return key(out, KEY_NO_MEANING, taken);
}

// "ESC [ row ; column R" with one or two decimal numbers; anything else is not a report.
bool parse_position(const unsigned char* p, std::size_t length, int& row, int& column) {
    int numbers[2] = {0, 0};
    int count = 0;
    bool digits = false;
    for (std::size_t i = 0; i < length; ++i) {
        if (p[i] >= '0' && p[i] <= '9') {
            if (numbers[count] > 9999) return false;
            numbers[count] = numbers[count] * 10 + (p[i] - '0');
            digits = true;
        } else if (p[i] == ';' && count == 0 && digits) {
            count = 1;
            digits = false;
        } else {
            return false;
        }
    }
    if (count != 1 || !digits) return false;
    row = numbers[0];
    column = numbers[1];
    return true;
}

// ESC [ parameters intermediates final. A byte that cannot belong to the sequence ends
// it early: what came before is one key, and that byte starts the next input.
std::size_t decode_csi(const unsigned char* bytes, std::size_t length, bool more_may_come,
                       DecodedInput& out) {
    for (std::size_t i = 2; i < length && i < MAX_SEQUENCE_BYTES; ++i) {
        const unsigned char b = bytes[i];
        if (b >= 0x40 && b <= 0x7E) {
            int row = 0;
            int column = 0;
            if (b == 'R' && parse_position(bytes + 2, i - 2, row, column)) {
                out = {INPUT_POSITION, 0, row, column};
                return i + 1;
            }
            return key(out, KEY_NO_MEANING, i + 1);
        }
        if (b < 0x20 || b > 0x3F) return key(out, KEY_NO_MEANING, i);
    }
    return incomplete(out, length, more_may_come);
}

// How many bytes a character needs whose first bytes are p[0, length): 0 while it cannot
// tell yet; a lead byte followed by a byte that cannot continue it is a character of its
// own (1), and the byte after it starts the next input.
std::size_t utf8_length(const unsigned char* p, std::size_t length) {
    const unsigned char first = p[0];
    if (first < 0xC2 || first > 0xF4) return 1;
    const std::size_t size = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : 2;
    for (std::size_t i = 1; i < size; ++i) {
        if (i >= length) return 0;
        if ((p[i] & 0xC0) != 0x80) return i;  // a broken character ends where it breaks
    }
    return size;
}

bool in_range(unsigned char b, unsigned char low, unsigned char high) {
    return b >= low && b <= high;
}

std::size_t euc_jp_length(const unsigned char* p, std::size_t length) {
    const std::size_t size = p[0] == 0x8F ? 3 : 2;  // 0x8F: JIS X 0212 in three bytes
    if (p[0] != 0x8E && p[0] != 0x8F && !in_range(p[0], 0xA1, 0xFE)) return 1;
    for (std::size_t i = 1; i < size; ++i) {
        if (i >= length) return 0;
        if (!in_range(p[i], 0xA1, 0xFE)) return 1;
    }
    return size;
}

std::size_t double_byte_length(const unsigned char* p, std::size_t length) {
    if (!in_range(p[0], 0x81, 0xFE)) return 1;
    if (length < 2) return 0;
    if (!in_range(p[1], 0x30, 0x39)) return in_range(p[1], 0x40, 0xFE) && p[1] != 0x7F ? 2 : 1;
    if (length < 4) return length < 3 || in_range(p[2], 0x81, 0xFE) ? 0 : 1;  // GB18030
    return in_range(p[2], 0x81, 0xFE) && in_range(p[3], 0x30, 0x39) ? 4 : 1;
}

std::size_t character_length(const unsigned char* p, std::size_t length, int codeset) {
    if (p[0] < 0x80) return 1;
    switch (codeset) {
    case CODESET_SHIFT_JIS: return sjis::char_length(p, length);
    case CODESET_EUC_JP: return euc_jp_length(p, length);
    case CODESET_DOUBLE_BYTE: return double_byte_length(p, length);
    case CODESET_SINGLE_BYTE: return 1;
    default: return utf8_length(p, length);
    }
}

// One character of the codeset is one key; a byte of its own keeps its value.
std::size_t decode_character(const unsigned char* bytes, std::size_t length, bool more_may_come,
                             int codeset, DecodedInput& out) {
    const std::size_t size = character_length(bytes, length, codeset);
    if (size == 0) return incomplete(out, length, more_may_come);
    return key(out, size == 1 ? bytes[0] : KEY_NO_MEANING, size);
}

std::size_t decode_escape(const unsigned char* bytes, std::size_t length, bool more_may_come,
                          int codeset, DecodedInput& out) {
    if (length < 2) return more_may_come ? 0 : key(out, ESC, 1);
    const unsigned char second = bytes[1];
    if (second == '[') return decode_csi(bytes, length, more_may_come, out);
    if (second == 'O') {  // SS3: one more byte names the key
        if (length < 3) return incomplete(out, length, more_may_come);
        return key(out, KEY_NO_MEANING, bytes[2] >= 0x20 && bytes[2] < 0x7F ? 3 : 2);
    }
    if (second == ESC || second < 0x20) return key(out, ESC, 1);  // a lone Escape
    const std::size_t size = character_length(bytes + 1, length - 1, codeset);
    if (size == 0) return incomplete(out, length, more_may_come);
    return key(out, KEY_NO_MEANING, 1 + size);  // Alt with a key
}

}  // namespace

int codeset_from_name(const char* name) {
    std::string upper;
    for (const char* c = name; c != nullptr && *c != '\0'; ++c) {
        if (*c == '-' || *c == '_') continue;
        upper += static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
    }
    const auto is = [&](std::initializer_list<const char*> names) {
        for (const char* n : names) {
            if (upper == n) return true;
        }
        return false;
    };
    if (is({"SJIS", "SHIFTJIS", "CP932", "WINDOWS31J", "MSKANJI"})) return CODESET_SHIFT_JIS;
    if (upper.rfind("EUCJ", 0) == 0) return CODESET_EUC_JP;  // EUC-JP, EUC-JP-MS, EUC-JISX0213
    if (is({"GB18030", "GBK", "GB2312", "EUCCN", "BIG5", "BIG5HKSCS", "EUCKR", "UHC", "CP949",
            "CP936", "CP950", "EUCTW", "JOHAB"})) {
        return CODESET_DOUBLE_BYTE;
    }
    if (upper.rfind("ISO8859", 0) == 0 || upper.rfind("KOI8", 0) == 0 ||
        upper.rfind("CP125", 0) == 0 || upper.rfind("WINDOWS125", 0) == 0 ||
        upper.rfind("TIS620", 0) == 0) {
        return CODESET_SINGLE_BYTE;
    }
    return CODESET_UTF8;  // UTF-8 itself, ASCII (a C locale), and anything unknown
}

int codeset_from_code_page(unsigned code_page) {
    switch (code_page) {
    case 932: return CODESET_SHIFT_JIS;
    case 20932:
    case 51932: return CODESET_EUC_JP;
    case 936:
    case 949:
    case 950:
    case 1361:
    case 54936: return CODESET_DOUBLE_BYTE;
    case 65001: return CODESET_UTF8;
    default: return CODESET_SINGLE_BYTE;
    }
}

std::size_t input_room(const PendingInput& pending) {
    const std::size_t queued = static_cast<std::size_t>(pending.key_count) + pending.length;
    return queued < INPUT_BUFFER_SIZE ? INPUT_BUFFER_SIZE - queued : 0;
}

void decode_pending(PendingInput& pending, bool more_may_come) {
    DecodedInput decoded = {};
    std::size_t taken = 0;
    while (pending.key_count < KEY_QUEUE_SIZE &&
           (taken = decode_input(pending.bytes, pending.length, more_may_come, pending.codeset,
                                 decoded)) > 0) {
        pending.length -= taken;
        std::memmove(pending.bytes, pending.bytes + taken, pending.length);
        if (decoded.kind == INPUT_POSITION) {
            if (pending.reply.kind == 0) pending.reply = decoded;
        } else {
            queue_key(pending, decoded.key);
        }
    }
}

bool queue_key(PendingInput& pending, int key) {
    if (pending.key_count >= KEY_QUEUE_SIZE) return false;
    pending.keys[(pending.first + pending.key_count) % KEY_QUEUE_SIZE] = key;
    pending.key_count += 1;
    return true;
}

bool take_key(PendingInput& pending, int& key) {
    if (pending.key_count == 0) return false;
    key = pending.keys[pending.first];
    pending.first = (pending.first + 1) % KEY_QUEUE_SIZE;
    pending.key_count -= 1;
    return true;
}

bool drop_keys_after(PendingInput& pending, int keep, int end_key) {
    bool ended = false;
    for (int k = keep; k < pending.key_count; ++k) {
        if (pending.keys[(pending.first + k) % KEY_QUEUE_SIZE] == end_key) ended = true;
    }
    if (keep < pending.key_count) pending.key_count = keep < 0 ? 0 : keep;
    return ended;
}

std::size_t decode_input(const unsigned char* bytes, std::size_t length, bool more_may_come,
                         int codeset, DecodedInput& out) {
    if (length == 0) return 0;
    if (bytes[0] == ESC) return decode_escape(bytes, length, more_may_come, codeset, out);
    return decode_character(bytes, length, more_may_come, codeset, out);
}
