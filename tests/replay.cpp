// Plays a game from a seed and a string of keys on the library's own screen of cells and
// prints every screen as plain text (UTF-8, each introduced by a form feed): what a
// terminal must show for the same seed and keys, in Japanese or with --lang en in English. With
// KEYS "auto" it plays a sensible wolf to the end of the game and then presses r, and prints the
// keys it pressed first, on a line of their own.
//
// With --last only the screen after the last key is printed. With --odds only the coach's
// odds of the choice on the last screen are, a seat and its chance a line.
//
// With --cells every screen also gives each cell's colour: after its 24 rows of text come
// 24 rows of one character per cell (column by column as a terminal that draws box lines
// one column wide shows them): the hexadecimal colour attribute, or "." for a blank, whose
// colour does not show.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "coach/review_text.hpp"
#include "model/texts.hpp"
#include "platform/frame.hpp"
#include "platform/terminal_text.hpp"
#include "test_support.hpp"

namespace {

void append_colours(const Screen& screen, std::string& out) {
    for (const Cell* row : screen.cells) {
        for (int x = 0; x < SCREEN_COLUMNS; ++x) {
            const Cell& cell = row[x];
            const bool blank = cell.byte == ' ' && cell.part == CELL_SINGLE;
            out += blank ? '.' : "0123456789abcdef"[cell.attr & 0xF];
        }
        out += '\n';
    }
}

}  // namespace

int main(int argc, char** argv) {
    bool cells = false;
    bool last = false;
    int language = LANGUAGE_JAPANESE;
    bool odds = false;
    int at = 1;
    for (; at + 2 < argc; ++at) {
        const std::string option = argv[at];
        if (option == "--cells") {
            cells = true;
        } else if (option == "--last") {
            last = true;
        } else if (option == "--odds") {
            odds = true;
        } else if (option == "--lang" && at + 3 < argc && language_named(argv[at + 1]) >= 0) {
            language = language_named(argv[++at]);
        } else {
            break;
        }
    }
    if (at + 2 != argc) {
        std::fprintf(stderr, "usage: %s [--cells] [--last] [--odds] [--lang ja|en] SEED KEYS\n",
                     argv[0]);
        return 2;
    }
    const char* seed = argv[argc - 2];
    const std::string given = argv[argc - 1];
    TestGame t = make_game(static_cast<std::uint32_t>(std::strtoul(seed, nullptr, 10)));
    const Game& g = *t.game;
    bool automatic = given == "auto";
    std::string keys = automatic ? "" : given;
    std::string out;
    draw(t, language);
    for (std::size_t k = 0;; ++k) {
        if (!last || k == keys.size()) {
            append_plain_frame(*t.screen, OUTPUT_UTF8, out);
            if (cells) append_colours(*t.screen, out);
        }
        if (automatic && k == keys.size() && k < 2000) {
            keys += g.winner == NONE ? scripted_key(g) : 'r';
        }
        if (k == keys.size()) break;
        play(t, keys[k], language);
        if (automatic && keys[k] == 'r') automatic = false;
    }
    if (given == "auto") std::printf("%s\n", keys.c_str());
    if (odds) {  // the coach's odds beside the last screen: a seat and its chance a line
        const Odds o = odds_of(public_record_of(g), COACH_FULL);
        for (int c = 0; c < o.count; ++c) {
            const ChoiceOdds& x = o.choice[c];
            std::printf("%d %s\n", x.seat, chance_text(estimate(x.wins, x.played)).c_str());
        }
        return 0;
    }
    std::fflush(stdout);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
