// Turns the bytes that a terminal sends into key presses. A key that arrives as several
// bytes (an escape sequence for an arrow or function key, a character of the locale's
// codeset, Alt with a key) is one key press; a cursor-position report is a reply, never
// a key.
#pragma once

#include <cstddef>

inline constexpr int INPUT_KEY = 1;       // a key press: key holds its byte or KEY_NO_MEANING
inline constexpr int INPUT_POSITION = 2;  // a cursor-position report: row and column, from 1

// The codeset the terminal types in: how many bytes one character takes.
inline constexpr int CODESET_UTF8 = 0;
inline constexpr int CODESET_SHIFT_JIS = 1;  // also code page 932
inline constexpr int CODESET_EUC_JP = 2;
// GBK, GB18030, Big5, EUC-KR and the like: a lead byte 0x81-0xFE and one more byte (three
// more for GB18030's four-byte form).
inline constexpr int CODESET_DOUBLE_BYTE = 3;
inline constexpr int CODESET_SINGLE_BYTE = 4;  // ISO 8859 and the like: a byte is a character

// The codeset of a locale's codeset name (nl_langinfo(CODESET)); ASCII and names nobody
// knows count as UTF-8, as the output does.
int codeset_from_name(const char* name);

// The codeset of a Windows code page.
int codeset_from_code_page(unsigned code_page);

struct DecodedInput {
    int kind;
    int key;
    int row;
    int column;
};

// Longest sequence kept whole; anything longer is cut into keys of this length.
inline constexpr std::size_t MAX_SEQUENCE_BYTES = 32;

// Every byte of the buffer can become a key of the queue, so decoding never drops one: a
// back end reads no more than input_room() allows.
inline constexpr std::size_t INPUT_BUFFER_SIZE = 256;
inline constexpr int KEY_QUEUE_SIZE = static_cast<int>(INPUT_BUFFER_SIZE);

// What a back end has read and not yet handed out: bytes not yet decoded, keys decoded
// but not yet taken (oldest at `first`), and the first cursor-position reply not yet
// taken.
struct PendingInput {
    unsigned char bytes[INPUT_BUFFER_SIZE];
    std::size_t length;
    int keys[KEY_QUEUE_SIZE];
    int first;
    int key_count;
    int codeset;         // CODESET_UTF8 unless the back end says otherwise
    DecodedInput reply;  // kind 0 when there is none
};

// How many bytes may be read into bytes[length...] now without a key ever being lost.
std::size_t input_room(const PendingInput& pending);

// Decodes every complete input of the bytes: keys join the queue, a reply is kept if none
// is waiting. With more_may_come false, nothing is left undecoded.
void decode_pending(PendingInput& pending, bool more_may_come);

// Adds a key behind the queued ones; false when the queue is full.
bool queue_key(PendingInput& pending, int key);

// Takes the oldest queued key; false when there is none.
bool take_key(PendingInput& pending, int& key);

// Drops the queued keys after the first `keep`; true when one of them was end_key.
bool drop_keys_after(PendingInput& pending, int keep, int end_key);

// Decodes the first input in bytes[0, length) typed in `codeset`. Returns how many bytes
// it took, or 0 when the bytes so far are the start of a longer sequence and more may
// still come (more_may_come). With more_may_come false it always takes at least one byte
// when length > 0.
std::size_t decode_input(const unsigned char* bytes, std::size_t length, bool more_may_come,
                         int codeset, DecodedInput& out);
