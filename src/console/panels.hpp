// The result panels under the cards: the claim lines of phase 5 (which publish the
// claims) and the vote lines of phase 8 (which end with the hanging).
#pragma once

#include "model/game.hpp"

void draw_claim_panel(Game& game);
void draw_claim_line(Game& game, const Player& p, int x, int y);
void draw_vote_panel(Game& game);

// Panel lines stand by seat: seats 0-4 in the left half, 5-9 in the right, rows 15-19.
inline constexpr int panel_x(int seat) { return (seat / 5) * 40; }
inline constexpr int panel_y(int seat) { return (seat % 5) + 15; }
