// Plays a game from a seed and a string of keys on the library's own screen of cells and
// prints every screen as plain text (UTF-8, each introduced by a form feed): what a
// terminal must show for the same seed and keys.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "console/frame.hpp"
#include "console/glyphs.hpp"
#include "test_support.hpp"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SEED KEYS\n", argv[0]);
        return 2;
    }
    TestGame t = make_game(static_cast<std::uint32_t>(std::strtoul(argv[1], nullptr, 10)));
    Game& g = *t.game;
    std::string out;
    for (const char* key = argv[2];; ++key) {
        update(g);
        render(g);
        append_plain_frame(g.console->screen, OUTPUT_UTF8, out);
        if (*key == '\0') break;
        g.key = static_cast<std::uint8_t>(*key);
        handle_key(g);
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
