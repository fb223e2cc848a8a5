#include "platform/key_decoder.hpp"

#include <cstring>

#include "console/console.hpp"

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

std::size_t decode_escape(const unsigned char* bytes, std::size_t length, bool more_may_come,
                          DecodedInput& out) {
    if (length < 2) return more_may_come ? 0 : key(out, ESC, 1);
    const unsigned char second = bytes[1];
    if (second == '[') return decode_csi(bytes, length, more_may_come, out);
    if (second == 'O') {  // SS3: one more byte names the key
        if (length < 3) return incomplete(out, length, more_may_come);
        return key(out, KEY_NO_MEANING, bytes[2] >= 0x20 && bytes[2] < 0x7F ? 3 : 2);
    }
    if (second == ESC || second < 0x20) return key(out, ESC, 1);  // a lone Escape
    return key(out, KEY_NO_MEANING, 2);                           // Alt with a key
}

// A UTF-8 character of two to four bytes is one key; a broken one ends where it breaks.
std::size_t decode_utf8(const unsigned char* bytes, std::size_t length, bool more_may_come,
                        DecodedInput& out) {
    const unsigned char first = bytes[0];
    const std::size_t size = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : 2;
    for (std::size_t i = 1; i < size; ++i) {
        if (i >= length) return incomplete(out, length, more_may_come);
        if ((bytes[i] & 0xC0) != 0x80) return key(out, KEY_NO_MEANING, i);
    }
    return key(out, KEY_NO_MEANING, size);
}

}  // namespace

void decode_pending(PendingInput& pending, bool more_may_come) {
    DecodedInput decoded = {};
    std::size_t taken = 0;
    while ((taken = decode_input(pending.bytes, pending.length, more_may_come, decoded)) > 0) {
        pending.length -= taken;
        std::memmove(pending.bytes, pending.bytes + taken, pending.length);
        if (decoded.kind == INPUT_POSITION) {
            if (pending.reply.kind == 0) pending.reply = decoded;
        } else if (pending.key_count < KEY_QUEUE_SIZE) {
            pending.keys[pending.key_count++] = decoded.key;
        }
    }
}

bool take_key(PendingInput& pending, int& key) {
    if (pending.key_count == 0) return false;
    key = pending.keys[0];
    pending.key_count -= 1;
    std::memmove(pending.keys, pending.keys + 1,
                 sizeof(int) * static_cast<std::size_t>(pending.key_count));
    return true;
}

std::size_t decode_input(const unsigned char* bytes, std::size_t length, bool more_may_come,
                         DecodedInput& out) {
    if (length == 0) return 0;
    const unsigned char first = bytes[0];
    if (first == ESC) return decode_escape(bytes, length, more_may_come, out);
    if (first >= 0xC2 && first <= 0xF4) return decode_utf8(bytes, length, more_may_come, out);
    return key(out, first, 1);
}
