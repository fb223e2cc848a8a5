#include "console/panels.hpp"

#include "console/console.hpp"
#include "console/glyphs.hpp"
#include "engine/rules.hpp"
#include "model/texts.hpp"

namespace {

const char* verdict_text(int result) {
    if (result == VERDICT_BLACK) return texts().black;
    if (result == VERDICT_WHITE) return texts().white;
    return "";
}

constexpr int MEDIUM_FIRST_RESULT_DAY = 3;  // day 2 follows a night with no hanging

}  // namespace

// Publishing happens here, before the line is drawn: a seat that dies tonight has
// published nothing of this night.
void draw_claim_panel(Game& game) {
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        const Player& p = game.players[seat];
        if (p.alive != 1) continue;
        if (p.co_claim != NONE) game.co_public[seat] = p.co_claim;
        if (game.co_public[seat] != NONE) draw_claim_line(game, p, panel_x(seat), panel_y(seat));
    }
}

void draw_claim_line(Game& game, const Player& p, int x, int y) {
    Console& console = *game.console;
    const int d = game.day;
    const NightRecord& n = p.night[d - 1];  // the night that has just ended
    console_move(console, x, y);
    console_printf(console, texts().claim_line, p.name, role_glyph(p.co_claim));
    switch (p.co_claim) {
    case ROLE_MADMAN: console_printf(console, texts().madman_call, character_name(n.target)); break;
    case ROLE_MEDIUM:
        if (d < MEDIUM_FIRST_RESULT_DAY) break;
        [[fallthrough]];
    case ROLE_SEER:
        console_printf(console, texts().verdict_line, character_name(n.target));
        console_print(console, verdict_text(n.result));
        break;
    default: break;
    }
}

// The hanging comes after the lines: this screen still shows the seat alive.
void draw_vote_panel(Game& game) {
    Console& console = *game.console;
    const int d = game.day;
    int tally[SEAT_COUNT] = {};
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        const Player& p = game.players[seat];
        if (p.alive != 1) continue;
        console_move(console, panel_x(seat) + 5, panel_y(seat));
        console_printf(console, "%10s > %10s", p.name, character_name(p.vote[d]));
        if (is_seat(p.vote[d])) tally[p.vote[d]] += 1;
    }
    execute_hanging(game, tally);
}
