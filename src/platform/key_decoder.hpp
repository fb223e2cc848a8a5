// Turns the bytes that a terminal sends into key presses. A key that arrives as several
// bytes (an escape sequence for an arrow or function key, a UTF-8 character, Alt with a
// key) is one key press; a cursor-position report is a reply, never a key.
#pragma once

#include <cstddef>

inline constexpr int INPUT_KEY = 1;       // a key press: key holds its byte or KEY_NO_MEANING
inline constexpr int INPUT_POSITION = 2;  // a cursor-position report: row and column, from 1

struct DecodedInput {
    int kind;
    int key;
    int row;
    int column;
};

// Longest sequence kept whole; anything longer is cut into keys of this length.
inline constexpr std::size_t MAX_SEQUENCE_BYTES = 32;

inline constexpr std::size_t INPUT_BUFFER_SIZE = 256;
inline constexpr int KEY_QUEUE_SIZE = 64;

// What a back end has read and not yet handed out: bytes not yet decoded, keys decoded
// but not yet taken, and the first cursor-position reply not yet taken.
struct PendingInput {
    unsigned char bytes[INPUT_BUFFER_SIZE];
    std::size_t length;
    int keys[KEY_QUEUE_SIZE];
    int key_count;
    DecodedInput reply;  // kind 0 when there is none
};

// Decodes every complete input of the bytes: keys join the queue (beyond its size they
// are dropped), a reply is kept if none is waiting. With more_may_come false, nothing is
// left undecoded.
void decode_pending(PendingInput& pending, bool more_may_come);

// Takes the oldest queued key; false when there is none.
bool take_key(PendingInput& pending, int& key);

// Decodes the first input in bytes[0, length). Returns how many bytes it took, or 0 when
// the bytes so far are the start of a longer sequence and more may still come
// (more_may_come). With more_may_come false it always takes at least one byte when
// length > 0.
std::size_t decode_input(const unsigned char* bytes, std::size_t length, bool more_may_come,
                         DecodedInput& out);
