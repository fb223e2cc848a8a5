#include "console/render.hpp"

#include "console/console.hpp"
#include "console/glyphs.hpp"
#include "console/panels.hpp"
#include "model/sjis.hpp"

namespace {

const char* phase_prompt(int phase) {
    switch (phase) {
    case PHASE_ATTACK_SELECT: return "%d日夜です。襲撃対象を選んでください。JKIL\n"_sj;
    case PHASE_FAKE_CLAIM: return "%d日朝です。騙りますか(未実装)\n"_sj;
    case PHASE_CLAIM_RESULTS: return "%d日朝です。CO結果\n"_sj;
    case PHASE_VOTE_SELECT: return "%d日朝です。投票先を選んでください。JKIL\n"_sj;
    case PHASE_VOTE_RESULTS: return "%d日朝です。投票結果です。JKIL\n"_sj;
    case PHASE_VILLAGE_WON: return "村人の勝利です! Press R to Retry"_sj;
    case PHASE_WOLVES_WON: return "人狼の勝利です! Press R to Retry"_sj;
    default: return nullptr;  // the automatic phases have no prompt
    }
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
    console_print(console, "人狼は"_sj);
    for (const Player& p : game.players) {
        if (p.role == ROLE_WOLF) console_printf(console, "【 %s 】"_sj, p.name);
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
    console_printf(console, "│%10s│"_sj, p.name);
    console_move(console, x, y + 2);
    console_printf(console, "│CO:%7s│"_sj, role_glyph(game.co_public[seat]));
    console_move(console, x, y + 3);
    console_printf(console, "│黒%2d  白%2d│"_sj, game.black_count[seat], game.white_count[seat]);
    console_move(console, x, y + 4);
    if (p.alive == 1) {
        console_printf(console, "│%10s│"_sj, "");
    } else if (p.attacked_day != NONE) {
        console_printf(console, "│%2d日  %4s│"_sj, p.attacked_day, "襲撃"_sj);
    } else if (p.hanged_day != NONE) {
        console_printf(console, "│%2d日  %4s│"_sj, p.hanged_day, "吊り"_sj);
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
