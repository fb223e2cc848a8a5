#include "platform/terminal_text.hpp"

#include <cstring>

#include "model/sjis.hpp"
#include "platform/key_decoder.hpp"

int output_encoding(int codeset) {
    return codeset == CODESET_SHIFT_JIS || codeset == CODESET_EUC_JP ? OUTPUT_SHIFT_JIS
                                                                     : OUTPUT_UTF8;
}

void append_utf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

namespace {

void append_char(std::string& out, char32_t c, int encoding) {
    if (encoding == OUTPUT_UTF8) {
        append_utf8(out, c);
        return;
    }
    const int code = sjis::encode(c);
    if (code > 0xFF) out += static_cast<char>(code >> 8);
    out += static_cast<char>(code >= 0 ? code & 0xFF : '?');
}

int append_double(std::string& out, unsigned char lead, unsigned char trail, int encoding,
                  int ambiguous_columns) {
    const char32_t c = sjis::decode_double(lead, trail);
    if (c == 0) {
        out += "??";
        return 0;
    }
    const int width_class = sjis::ambiguous_class(lead, trail);
    append_char(out, c, encoding);
    if (width_class != 0 && ambiguous_columns == 1) {
        // Second column: the line goes on where the glyph joins to the right.
        const char32_t filler = width_class == 2 ? U'─' : width_class == 3 ? U'━' : U' ';
        append_char(out, filler, encoding);
    }
    return width_class;
}

}  // namespace

int append_glyph(std::string& out, const Cell* row, int x, int encoding, int ambiguous_columns) {
    const auto byte = static_cast<unsigned char>(row[x].byte);
    if (glyph_cells(row, x) == 2) {
        return append_double(out, byte, static_cast<unsigned char>(row[x + 1].byte), encoding,
                             ambiguous_columns);
    }
    const char32_t c = row[x].part == CELL_TRAIL ? 0 : sjis::decode_single(byte);
    const bool printable = c >= 0x20 && c != 0x7F;
    append_char(out, printable ? c : U'?', encoding);
    return 0;
}

void append_text(std::string& out, const char* sjis_text, int encoding) {
    const auto* text = reinterpret_cast<const unsigned char*>(sjis_text);
    const std::size_t length = std::strlen(sjis_text);
    for (std::size_t i = 0; i < length; ++i) {
        if (sjis::char_length(text + i, length - i) == 2) {
            append_double(out, text[i], text[i + 1], encoding, 2);
            ++i;
        } else if (text[i] == '\n') {
            out += '\n';
        } else {
            const char32_t c = sjis::decode_single(text[i]);
            append_char(out, c >= 0x20 && c != 0x7F ? c : U'?', encoding);
        }
    }
}
