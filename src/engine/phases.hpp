// The phase machine: the automatic work of each phase and the move to the next.
#pragma once

#include "ai/sight.hpp"
#include "model/game.hpp"

// One step of the automatic work of the current phase (night actions, publishing claims,
// computer votes, victory checks). Never waits for input; does nothing in the phases
// that wait for the human.
void update(Game& game, int search = SEARCH_EXACT);

// The automatic work of phase 0: every living computer seat acts for tonight, in seat
// order; then the attack screen.
void run_night(Game& game);

// The automatic work of phase 6: every living computer seat that is not a wolf votes; then
// the wolves' vote screen. A vote's search that no seat can pass is drawn as `search`
// says (SEARCH_... of ai/sight.hpp).
void computer_votes(Game& game, int search = SEARCH_EXACT);
