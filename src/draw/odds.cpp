#include "draw/odds.hpp"

#include "coach/reason.hpp"
#include "coach/review_text.hpp"
#include "draw/panels.hpp"

void draw_odds(const PublicRecord& record, const Odds& odds, const Forecast& forecast,
               const Texts& t, Screen& screen) {
    for (int c = 0; c < odds.count; ++c) {
        const ChoiceOdds& o = odds.choice[c];
        if (o.played == 0) continue;
        const bool good = as_good_as_best(odds, c);
        screen_set_attr(screen, good ? ATTR_BRIGHT_GREEN : ATTR_BRIGHT_WHITE);
        screen_move(screen, panel_x(o.seat), panel_y(o.seat));
        screen_printf(screen, t.odds_line, t.names[o.seat],
                      chance_text(estimate(o.wins, o.played)).c_str());
        if (good) screen_print(screen, t.odds_best);
    }
    if (odds.count > 0) {
        screen_set_attr(screen, ATTR_BRIGHT_GREEN);
        screen_move(screen, PANEL_SPLIT / 20, FACTS_Y);  // under the names' column
        screen_print(screen, choice_facts(record, odds, forecast, odds.best, t).c_str());
    }
    screen_set_attr(screen, ATTR_BRIGHT_WHITE);
}
