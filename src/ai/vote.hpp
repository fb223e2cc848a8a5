// Whom the computer seats vote for, from what is public: claims, verdicts, yesterday's
// hanging and votes. The madman follows his own call.
#pragma once

#include "model/game.hpp"

// Sets p.vote[game.day].
void ai_vote(Game& game, Player& p);

// The medium rule: after a published white result on yesterday's hanged seat, sometimes
// vote for a seat without claim or white verdict that voted for that innocent. Returns the
// seat chosen, or -1.
int medium_rule_vote(Game& game, const Player& p);
