#include "model/json.hpp"

#include <cstring>

#include "model/sjis.hpp"

void json_string(std::string& out, const char* text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    const std::size_t length = std::strlen(text);
    out += '"';
    for (std::size_t i = 0; i < length;) {
        const std::size_t size = sjis::char_length(bytes + i, length - i);
        const unsigned char b = bytes[i];
        if (size == 2) {
            out.append(text + i, 2);
        } else if (size == 1 && (b == '"' || b == '\\')) {
            out += '\\';
            out += text[i];
        } else if (size == 1 && b == '\n') {
            out += "\\n";
        } else if (size == 1 && b >= 0x20 && b != 0x7F && !sjis::is_lead_byte(b)) {
            out += text[i];
        }
        i += size == 0 ? 1 : size;
    }
    out += '"';
}
