// Why a choice is better than another, in one line of a language, from facts the village's
// own rules give: at an attack, the chance that the bodyguard guards each seat tonight, the
// chance of each seat's role, and how many seats the village may vote once one is dead (the
// village votes only among the seats without a claim, and with one seer without his white);
// at a vote, the votes each seat can expect from the computer seats and the chance it is
// hanged, and the seats the village never votes (a claimant, a seat the seer cleared).
#pragma once

#include <string>

#include "coach/forecast.hpp"
#include "coach/odds.hpp"
#include "model/texts.hpp"

// Why the best choice of the odds beats the other one (an index in the odds; NONE: the
// next best). The review's reason for its verdict on a choice made.
std::string reason_text(const PublicRecord& r, const Odds& odds, const Forecast& f, int other,
                        const Texts& w);

// A choice's facts in a few words (an index in the odds), short enough for the terminal's
// coach line (76 columns) and a card of the page: at an attack, its likeliest role and the
// chance that the bodyguard guards it tonight; at a vote, the votes it can expect and the
// chance that it is hanged; on the morning screen, the chance that its seat (the wolf
// asked, or the seat a false seer names) is hanged today.
std::string choice_facts(const PublicRecord& r, const Odds& odds, const Forecast& f, int index,
                         const Texts& w);

// A choice in words: a seat's name, or the morning's answer ("the seer", "Lily is a wolf").
std::string choice_label(const PublicRecord& r, const ChoiceOdds& o, const Texts& w);

// The seats the village may vote tomorrow once the seat is dead: the living others
// without a claim (and, with one seer, without his white).
int vote_pool_after(const PublicRecord& r, int dead);

// The role (other than villager and wolf) a seat most likely has, or ROLE_VILLAGER.
int likeliest_power(const Forecast& forecast, int seat);
