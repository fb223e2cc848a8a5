#include "draw/odds.hpp"

#include <cmath>

#include "draw/panels.hpp"

void draw_odds(const Odds& odds, const Texts& t, Screen& screen) {
    for (int c = 0; c < odds.count; ++c) {
        const ChoiceOdds& o = odds.choice[c];
        if (o.played == 0) continue;
        const Estimate e = estimate(o.wins, o.played);
        const int percent = static_cast<int>(std::lround(e.win * 100.0));
        const int margin = static_cast<int>(std::lround((e.high - e.low) * 50.0));
        screen_set_attr(screen, c == odds.best ? ATTR_BRIGHT_GREEN : ATTR_BRIGHT_WHITE);
        screen_move(screen, panel_x(o.seat), panel_y(o.seat));
        screen_printf(screen, t.odds_line, t.names[o.seat], percent, margin);
        if (c == odds.best) screen_print(screen, t.odds_best);
    }
    screen_set_attr(screen, ATTR_BRIGHT_WHITE);
}
