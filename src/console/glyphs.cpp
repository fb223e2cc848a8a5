#include "console/glyphs.hpp"

#include <algorithm>
#include <iterator>

#include "model/game.hpp"
#include "model/sjis.hpp"
#include "model/texts.hpp"

const char* role_glyph(int code) {
    return code >= 0 && code < ROLE_COUNT ? texts().glyphs[code] : texts().no_glyph;
}

int ambiguous_class(unsigned char lead, unsigned char trail) {
    const int code = (lead << 8) | trail;
    const auto* end = std::end(cp932::kAmbiguous);
    const auto* found = std::lower_bound(std::begin(cp932::kAmbiguous), end, code,
                                         [](const auto& e, int c) { return e.code < c; });
    return found != end && found->code == code ? found->width_class : 0;
}

int glyph_ambiguous_class(const Cell* row, int x) {
    if (glyph_cells(row, x) != 2) return 0;
    return ambiguous_class(static_cast<unsigned char>(row[x].byte),
                           static_cast<unsigned char>(row[x + 1].byte));
}
