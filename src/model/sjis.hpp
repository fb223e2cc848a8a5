// Shift-JIS (code page 932) text for the game's records and screen.
//
// The sources stay UTF-8; a literal written "人狼は"_sj is converted while compiling,
// character by character through the generated code page 932 table, into a static
// NUL-terminated Shift-JIS array. A character that code page 932 cannot hold, or a
// literal that is not UTF-8, stops the compilation.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>

#include "model/cp932_table.hpp"

namespace sjis {

// True for the first byte of a double-byte character.
constexpr bool is_lead_byte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// True for a byte that may follow a lead byte.
constexpr bool is_trail_byte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// How many bytes the character at p[0, n) takes: 2 for a lead byte and a byte that may
// follow it, 1 for any other byte (a lead byte followed by something else stands alone),
// 0 when n is 0 or a lead byte is all there is so far. The one rule for every reader of
// Shift-JIS: the screen, the log, the key decoder and the output conversion.
constexpr std::size_t char_length(const unsigned char* p, std::size_t n) {
    if (n == 0) return 0;
    if (!is_lead_byte(p[0])) return 1;
    if (n < 2) return 0;
    return is_trail_byte(p[1]) ? 2 : 1;
}

// Index of a double-byte code in cp932::kDecode, or -1 when the bytes cannot form one.
constexpr int double_byte_index(unsigned char lead, unsigned char trail) {
    if (!is_lead_byte(lead) || !is_trail_byte(trail)) return -1;
    const int lead_index = lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31;
    const int trail_index = trail <= 0x7E ? trail - 0x40 : trail - 0x80 + 63;
    return lead_index * cp932::kTrailsPerLead + trail_index;
}

// Unicode of a double-byte character, 0 when unmapped.
constexpr char32_t decode_double(unsigned char lead, unsigned char trail) {
    const int index = double_byte_index(lead, trail);
    return index < 0 ? 0 : cp932::kDecode[index];
}

// Unicode of a single byte: ASCII, or a half-width katakana; 0 when the byte stands for nothing.
constexpr char32_t decode_single(unsigned char b) {
    if (b < 0x80) return b;
    if (b >= 0xA1 && b <= 0xDF) return 0xFF61 + (b - 0xA1);
    return 0;
}

// Code page 932 code of a Unicode character: below 0x100 a single byte, otherwise two
// bytes (lead << 8 | trail); -1 when code page 932 has no such character.
constexpr int encode(char32_t c) {
    if (c < 0x80) return static_cast<int>(c);
    if (c >= 0xFF61 && c <= 0xFF9F) return static_cast<int>(c - 0xFF61 + 0xA1);
    const auto* end = std::end(cp932::kEncode);
    const auto* found = std::lower_bound(std::begin(cp932::kEncode), end, c,
                                         [](const auto& e, char32_t u) { return e.unicode < u; });
    return found != end && found->unicode == c ? found->code : -1;
}

// East Asian ambiguous width of a double-byte character: 0 for a character of fixed
// width; 1 ambiguous; 2 ambiguous line joining to the right (padded with ─ where a
// terminal draws it one column wide); 3 the same, heavy (padded with ━).
constexpr int ambiguous_class(unsigned char lead, unsigned char trail) {
    const int code = (lead << 8) | trail;
    const auto* end = std::end(cp932::kAmbiguous);
    const auto* found = std::lower_bound(std::begin(cp932::kAmbiguous), end, code,
                                         [](const auto& e, int c) { return e.code < c; });
    return found != end && found->code == code ? found->width_class : 0;
}

namespace detail {

template <std::size_t N>
struct Utf8Literal {
    char bytes[N];
    // Implicit on purpose: the literal operator template receives the string literal itself.
    // cppcheck-suppress noExplicitConstructor
    consteval Utf8Literal(const char (&text)[N]) {  // NOLINT(google-explicit-constructor)
        for (std::size_t i = 0; i < N; ++i) bytes[i] = text[i];
    }
};

// Decodes the UTF-8 character at text[i], moving i past it. Invalid UTF-8 is not a
// constant expression, so a bad literal fails to compile.
template <std::size_t N>
constexpr char32_t next_char(const char (&text)[N], std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char first = byte(i);
    int extra = first < 0x80             ? 0
                : (first & 0xE0) == 0xC0 ? 1
                : (first & 0xF0) == 0xE0 ? 2
                : (first & 0xF8) == 0xF0 ? 3
                                         : -1;
    if (extra < 0) throw "the literal is not UTF-8";
    char32_t c = extra == 0 ? first : first & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        if (i + k >= N - 1 || (byte(i + k) & 0xC0) != 0x80) throw "the literal is not UTF-8";
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    i += static_cast<std::size_t>(extra) + 1;
    return c;
}

template <Utf8Literal S>
constexpr std::size_t encoded_length() {
    std::size_t length = 0;
    for (std::size_t i = 0; i + 1 < sizeof(S.bytes);) {
        const int code = encode(next_char(S.bytes, i));
        if (code < 0) throw "a character of the literal is not in code page 932";
        length += code > 0xFF ? 2 : 1;
    }
    return length;
}

template <Utf8Literal S>
struct Encoded {
    static constexpr std::array<char, encoded_length<S>() + 1> value = [] {
        std::array<char, encoded_length<S>() + 1> out{};
        std::size_t o = 0;
        for (std::size_t i = 0; i + 1 < sizeof(S.bytes);) {
            const int code = encode(next_char(S.bytes, i));
            if (code > 0xFF) out[o++] = static_cast<char>(code >> 8);
            out[o++] = static_cast<char>(code & 0xFF);
        }
        return out;
    }();
};

}  // namespace detail
}  // namespace sjis

// "text"_sj: the Shift-JIS bytes of a UTF-8 literal, NUL-terminated, in static storage.
template <sjis::detail::Utf8Literal S>
consteval const char* operator""_sj() {
    return sjis::detail::Encoded<S>::value.data();
}
