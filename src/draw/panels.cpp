#include "draw/panels.hpp"

namespace {

const char* verdict_text(const Texts& t, int result) {
    if (result == VERDICT_BLACK) return t.black;
    if (result == VERDICT_WHITE) return t.white;
    return "";
}

}  // namespace

// The claims were published on the way to this screen; a seat that died in the night has
// no line.
void draw_claim_panel(const Game& game, const Texts& t, Screen& screen) {
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        const Player& p = game.players[seat];
        if (p.alive != 1 || game.co_public[seat] == NONE) continue;
        draw_claim_line(game, t, screen, p, panel_x(seat), panel_y(seat));
    }
}

void draw_claim_line(const Game& game, const Texts& t, Screen& screen, const Player& p, int x,
                     int y) {
    const int d = game.day;
    const NightRecord& n = p.night[d - 1];  // the night that has just ended
    screen_move(screen, x, y);
    screen_printf(screen, t.claim_line, name_of(t, p.seat), role_glyph(t, p.co_claim));
    switch (p.co_claim) {
    case ROLE_MADMAN: screen_printf(screen, t.madman_call, name_of(t, n.target)); break;
    case ROLE_MEDIUM:
        if (d < MEDIUM_FIRST_RESULT_DAY) break;
        [[fallthrough]];
    case ROLE_SEER:
        screen_printf(screen, t.verdict_line, name_of(t, n.target));
        screen_print(screen, verdict_text(t, n.result));
        break;
    default: break;
    }
}

// Every living seat's vote; the hanging comes with the key of this screen, so the cards
// still show the seat alive.
void draw_vote_panel(const Game& game, const Texts& t, Screen& screen) {
    const int d = game.day;
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        const Player& p = game.players[seat];
        if (p.alive != 1) continue;
        screen_move(screen, panel_x(seat) + 5, panel_y(seat));
        screen_printf(screen, t.vote_line, name_of(t, seat), name_of(t, p.vote[d]));
    }
}
