// Whom the computer seats vote for, from what is public: claims, verdicts, yesterday's
// hanging and votes. The madman follows his own call. Beside the rule, the chance of each
// vote it may cast.
#pragma once

#include "ai/sight.hpp"

// The medium rule applies from this day on.
inline constexpr int MEDIUM_RULE_FIRST_DAY = 3;

// The seat a computer seat votes for (madman: it is the madman).
//  1. A first candidate is drawn; it stands unless a rule below chooses.
//  2. The madman votes for his call of last night while it lives, else the first draw.
//  3. With exactly one published seer: the lowest living seat with a black verdict; else
//     the medium rule; else up to 1000 attempts for a candidate without claim or white
//     verdict.
//  4. With no published seer: the medium rule; else up to 1000 attempts for a candidate
//     without claim.
//  5. With two seers or more: the first draw.
// The medium rule: with exactly one claimed medium who said yesterday's hanged seat was
// human, from day 3, on a roll below 30: up to 1000 attempts for a candidate without claim
// or white verdict who voted for that innocent.
// In the seasoned village (the rules with lies) every seat but the madman votes by the
// rules of ai/seasoned.hpp first: after the first draw, a liar it knows, a trusted seer's
// black or a roller over doubled claimants; else, on a roll below 30, a suspect drawn at
// random; else the rules above, read with the claimants it knows to lie left out.
int vote_rule(const Sight& s, bool madman, Random& random, int search = SEARCH_EXACT);
Chances vote_chances(const Sight& s, bool madman);

// Sets p.vote[game.day], from what the seat sees (the village's sight, as it sees it:
// look_as), its searches drawn as `search` says (SEARCH_...).
void ai_vote(Game& game, Player& p, const Sight& seen, int search = SEARCH_EXACT);
