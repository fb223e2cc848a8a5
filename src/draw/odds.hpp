// The coach's odds on the screen of a choice (with --coach): each legal seat's chance of
// a wolves' win in the panel rows, where the claim and vote lines stand on other screens,
// its line in the row and half of its seat, in the one notation ("41% (38-44%)"); on the
// morning screen each answer in the slots in turn, and for a false seer's verdict each
// seat's better colour in its slot; every choice as good as the best marked; and under
// them the best's facts (its likeliest role and the chance it is guarded tonight, or the
// votes it can expect and its chance of being hanged, or on the morning the chance its
// seat is hanged today).
#pragma once

#include "coach/forecast.hpp"
#include "coach/odds.hpp"
#include "draw/screen.hpp"
#include "model/texts.hpp"

inline constexpr int FACTS_Y = 21;  // the row of the best's facts, between the panel and the log

void draw_odds(const PublicRecord& record, const Odds& odds, const Forecast& forecast,
               const Texts& texts, Screen& screen);
