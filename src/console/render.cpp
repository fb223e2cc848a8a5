#include "console/render.hpp"

#include "console/console.hpp"
#include "console/glyphs.hpp"
#include "console/panels.hpp"
#include "model/sjis.hpp"
#include "model/texts.hpp"

namespace {

const char* phase_prompt(int phase) {
    return phase >= 0 && phase < PHASE_COUNT ? texts().prompts[phase] : nullptr;
}

// A living wolf is red, a claimed madman magenta, a claimed seer or medium cyan; the
// dead are grey whatever they were.
void set_card_colour(Game& game, const Player& p) {
    Console& console = *game.console;
    if (p.role == ROLE_WOLF) {
        console_set_attr(console, ATTR_BRIGHT_RED);
    } else if (game.co_public[p.seat] == ROLE_MADMAN) {
        console_set_attr(console, ATTR_BRIGHT_MAGENTA);
    } else if (game.co_public[p.seat] == ROLE_SEER || game.co_public[p.seat] == ROLE_MEDIUM) {
        console_set_attr(console, ATTR_BRIGHT_CYAN);
    }
    if (p.alive != 1) console_set_attr(console, ATTR_GREY);
}

void draw_header(Game& game) {
    Console& console = *game.console;
    console_print(console, texts().wolves);
    for (const Player& p : game.players) {
        if (p.role == ROLE_WOLF) console_printf(console, texts().wolf, p.name);
    }
    console_print(console, "\n");
    if (const char* prompt = phase_prompt(game.phase)) console_printf(console, prompt, game.day);
}

}  // namespace

void draw_card(Game& game, const Player& p, int x, int y) {
    Console& console = *game.console;
    const int seat = p.seat;
    set_card_colour(game, p);
    console_move(console, x, y);
    console_printf(console, "%d", seat);
    console_move(console, x + 2, y);
    console_print(console, "─────┐"_sj);
    console_move(console, x, y + 1);
    console_printf(console, texts().card_name, p.name);
    console_move(console, x, y + 2);
    console_printf(console, texts().card_claim, role_glyph(game.co_public[seat]));
    console_move(console, x, y + 3);
    console_printf(console, texts().card_counts, game.black_count[seat], game.white_count[seat]);
    console_move(console, x, y + 4);
    if (p.alive == 1) {
        console_printf(console, texts().card_blank, "");
    } else if (p.attacked_day != NONE) {
        console_printf(console, texts().card_death, p.attacked_day, texts().attacked);
    } else if (p.hanged_day != NONE) {
        console_printf(console, texts().card_death, p.hanged_day, texts().hanged);
    }
    console_move(console, x, y + 5);
    console_print(console, "└─────┘"_sj);
    if (game.winner != NONE) {  // the true role, over the top border
        console_move(console, x + 10, y);
        console_print(console, role_glyph(p.role));
    }
}

void render(Game& game) {
    Console& console = *game.console;
    console_move(console, 0, 0);
    console_set_attr(console, ATTR_BRIGHT_WHITE);
    console_clear(console);
    draw_header(game);
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        console_set_attr(console, ATTR_BRIGHT_WHITE);
        draw_card(game, game.players[seat], card_x(seat), card_y(seat));
    }
    console_set_attr(console, ATTR_BRIGHT_GREEN);
    console_move(console, card_x(game.cursor) - 1, card_y(game.cursor));
    console_print(console, ">");
    console_set_attr(console, ATTR_BRIGHT_WHITE);
    console_move(console, 2, 23);
    console_print(console, game.log[0]);
    console_set_attr(console, ATTR_BRIGHT_WHITE);
    if (game.phase == PHASE_CLAIM_RESULTS) draw_claim_panel(game);
    if (game.phase == PHASE_VOTE_RESULTS) draw_vote_panel(game);
}
