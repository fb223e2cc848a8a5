// The start of a fresh game on an existing Game record: clear and deal.
#pragma once

#include <array>

#include "model/game.hpp"

// The ten roles before shuffling: two wolves, madman, seer, medium, hunter, four villagers.
inline constexpr std::array<int, SEAT_COUNT> ROLE_DECK = {
    ROLE_WOLF,   ROLE_WOLF,     ROLE_MADMAN,   ROLE_SEER,     ROLE_MEDIUM,
    ROLE_HUNTER, ROLE_VILLAGER, ROLE_VILLAGER, ROLE_VILLAGER, ROLE_VILLAGER,
};

// Shuffles the deck in place with exactly nine draws of the random source.
void shuffle_deck(std::array<int, SEAT_COUNT>& deck, Random& random);

// Turns the game into the first night of a new one: every table cleared, roles dealt at
// random from the game's own random source (not reseeded), every seat alive.
void new_game(Game& game);
