// The rules that change lives and decide the game: the wolves' attack against the
// hunter's guard, the hanging of the most-voted seat, and the victory test.
#pragma once

#include "model/game.hpp"

// The wolves attack seat t, a living seat that is not a wolf. A hunter who guarded t
// tonight turns the attack away; otherwise t dies.
void resolve_attack(Game& game, int t);

// Kills seat t as the wolves' victim of tonight's attack.
void execute_attack(Game& game, int t);

// Hangs one of the seats with the most votes in tally, chosen at random among them.
void execute_hanging(Game& game, const int (&tally)[SEAT_COUNT]);

// Counts today's votes of the living seats and hangs the most-voted seat.
void hang_most_voted(Game& game);

// Counts the living wolves into wolf_count and ends the game when one side has won.
void check_victory(Game& game);
