// Plays a game from a seed and a string of keys on the library's own screen of cells and
// prints every screen as plain text (UTF-8, each introduced by a form feed): what a
// terminal must show for the same seed and keys. With KEYS "auto" it plays a sensible wolf
// to the end of the game and then presses r, and prints the keys it pressed first, on a
// line of their own.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/frame.hpp"
#include "platform/terminal_text.hpp"
#include "test_support.hpp"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SEED KEYS\n", argv[0]);
        return 2;
    }
    TestGame t = make_game(static_cast<std::uint32_t>(std::strtoul(argv[1], nullptr, 10)));
    Game& g = *t.game;
    bool automatic = std::string(argv[2]) == "auto";
    std::string keys = automatic ? "" : argv[2];
    std::string out;
    for (std::size_t k = 0;; ++k) {
        update(g);
        render(g);
        append_plain_frame(g.console->screen, OUTPUT_UTF8, out);
        if (automatic && k == keys.size() && k < 2000) {
            keys += g.winner == NONE ? scripted_key(g) : 'r';
        }
        if (k == keys.size()) break;
        g.key = static_cast<std::uint8_t>(keys[k]);
        handle_key(g);
        if (automatic && keys[k] == 'r') automatic = false;
    }
    if (std::string(argv[2]) == "auto") std::printf("%s\n", keys.c_str());
    std::fflush(stdout);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
