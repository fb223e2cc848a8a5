// The main screen: the wolves' header, the phase prompt, the ten player cards, the
// cursor mark, the newest log line, and in phases 5 and 8 the result panels.
#pragma once

#include "model/game.hpp"

// Redraws the whole screen of game.console. Call it exactly once per pass of the main
// loop: in phase 5 it publishes the claims, in phase 8 it hangs a seat.
void render(Game& game);

// One player card with its top left corner at (x, y).
void draw_card(Game& game, const Player& p, int x, int y);

// Column and row of the top left corner of a seat's card.
inline constexpr int card_x(int seat) { return (seat % 5) * 15 + 2; }
inline constexpr int card_y(int seat) { return (seat / 5) * 7 + 2; }
