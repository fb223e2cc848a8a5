// The phase machine: the automatic work of each phase and the move to the next.
#pragma once

#include "model/game.hpp"

// One step of the automatic work of the current phase (night actions, publishing claims,
// computer votes, victory checks). Never waits for input; does nothing in the phases
// that wait for the human.
void update(Game& game);
