// What the computer seats do at night: the seer inspects, the hunter guards, the madman
// calls for a death, and the seer, medium and madman decide what they will claim.
#pragma once

#include "model/game.hpp"

// A random living seat other than p, drawn until one comes up.
int pick_living_other(Game& game, const Player& p);

// The night actions read the game, draw from its random source, and write only the acting
// seat's own record and claim.

// Seat p's choice for tonight (the night of day game.day), by its role.
void ai_night_action(Game& game, Player& p);

// Completes seat p's record of tonight: the seer's and medium's verdicts, the hunter's
// guard (never himself).
void complete_night_record(const Game& game, Player& p);
