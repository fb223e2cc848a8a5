// The result panels under the cards: the claim lines of phase 5, each claiming seat's
// claim and what it found, and the vote lines of phase 8, every living seat's vote.
#pragma once

#include "draw/screen.hpp"
#include "model/game.hpp"
#include "model/texts.hpp"

void draw_claim_panel(const Game& game, const Texts& texts, Screen& screen);
void draw_claim_line(const Game& game, const Texts& texts, Screen& screen, const Player& p, int x,
                     int y);
void draw_vote_panel(const Game& game, const Texts& texts, Screen& screen);

// Panel lines stand by seat: seats 0-4 in the left half, 5-9 in the right, rows 15-19.
inline constexpr int PANEL_SPLIT = 40;
inline constexpr int PANEL_TOP = 15;
inline constexpr int panel_x(int seat) { return (seat / 5) * PANEL_SPLIT; }
inline constexpr int panel_y(int seat) { return (seat % 5) + PANEL_TOP; }
