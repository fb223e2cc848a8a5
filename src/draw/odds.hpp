// The coach's odds on the screen of a choice (with --coach): each legal seat's chance of
// a wolves' win in the panel rows, where the claim and vote lines stand on other screens,
// its line in the row and half of its seat; the best marked.
#pragma once

#include "coach/odds.hpp"
#include "draw/screen.hpp"
#include "model/texts.hpp"

void draw_odds(const Odds& odds, const Texts& texts, Screen& screen);
