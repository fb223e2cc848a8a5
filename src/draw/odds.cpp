#include "draw/odds.hpp"

#include "coach/reason.hpp"
#include "coach/review_text.hpp"
#include "draw/panels.hpp"
#include "engine/morning.hpp"
#include "model/keys.hpp"

namespace {

// The better of a seat's two verdicts (a false seer's), or NONE when the seat is not named.
int better_verdict(const Odds& odds, int seat) {
    int better = NONE;
    for (int c = 0; c < odds.count; ++c) {
        const ChoiceOdds& o = odds.choice[c];
        if (o.seat != seat || o.played == 0) continue;
        if (better == NONE || static_cast<long>(o.wins) * odds.choice[better].played >
                                  static_cast<long>(odds.choice[better].wins) * o.played) {
            better = c;
        }
    }
    return better;
}

// One choice's line in a slot of the panel (a seat's, or the choice's own on the morning).
void draw_choice(const PublicRecord& r, const Odds& odds, int c, int slot, const Texts& t,
                 Screen& screen) {
    const ChoiceOdds& o = odds.choice[c];
    const bool good = as_good_as_best(odds, c);
    const std::string chance = chance_text(estimate(o.wins, o.played));
    screen_set_attr(screen, good ? ATTR_BRIGHT_GREEN : ATTR_BRIGHT_WHITE);
    screen_move(screen, panel_x(slot), panel_y(slot));
    if (o.key == KEY_CHOOSE) {
        screen_printf(screen, t.odds_line, t.names[o.seat], chance.c_str());
    } else if (r.question == QUESTION_SEER_VERDICT) {
        screen_printf(screen, t.odds_verdict_line, t.names[o.seat],
                      t.verdict_marks[o.key == KEY_BLACK ? 1 : 0], chance.c_str());
    } else {
        screen_printf(screen, t.odds_choice_line, choice_label(r, o, t).c_str(), chance.c_str());
    }
    if (good) screen_print(screen, t.odds_best);
}

}  // namespace

void draw_odds(const PublicRecord& record, const Odds& odds, const Forecast& forecast,
               const Texts& t, Screen& screen) {
    for (int c = 0; c < odds.count; ++c) {
        const ChoiceOdds& o = odds.choice[c];
        if (o.played == 0) continue;
        if (o.key == KEY_CHOOSE) {
            draw_choice(record, odds, c, o.seat, t, screen);
        } else if (record.question == QUESTION_SEER_VERDICT) {
            // A seat's slot shows the better of its two colours.
            if (better_verdict(odds, o.seat) == c) draw_choice(record, odds, c, o.seat, t, screen);
        } else {
            draw_choice(record, odds, c, c, t, screen);
        }
    }
    if (odds.count > 0) {
        screen_set_attr(screen, ATTR_BRIGHT_GREEN);
        screen_move(screen, PANEL_SPLIT / 20, FACTS_Y);  // under the names' column
        screen_print(screen, choice_facts(record, odds, forecast, odds.best, t).c_str());
    }
    screen_set_attr(screen, ATTR_BRIGHT_WHITE);
}
