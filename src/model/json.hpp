// Writing JSON for tools and for the web page: strings of Shift-JIS text, and arrays.
#pragma once

#include <string>

// A Shift-JIS text as a JSON string, character by character: a double-byte character
// passes whole (its trail byte may be 0x5C, the backslash of ASCII, as in ソ or 表), and
// only one-byte characters are escaped. Control bytes and a lead byte without its trail
// are dropped.
void json_string(std::string& out, const char* text);

// "[" each(0) "," each(1) ... "]": each(k) appends the k-th value.
template <typename Each>
void json_array(std::string& out, int count, Each each) {
    out += '[';
    for (int k = 0; k < count; ++k) {
        if (k > 0) out += ',';
        each(k);
    }
    out += ']';
}
