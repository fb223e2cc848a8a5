// What the human's keys do in each phase: i j k l move the cursor, z confirms, r starts
// again after a win (model/keys.hpp names them; their capitals act alike).
#pragma once

#include <string>

#include "model/game.hpp"
#include "model/keys.hpp"

// What the keys do on the screen a game shows: move the cursor and choose the wolves'
// victim, or one wolf's vote; any key leads on; r starts again.
inline constexpr int SCREEN_CHOOSE_ATTACK = 1;
inline constexpr int SCREEN_CHOOSE_VOTE = 2;
inline constexpr int SCREEN_ANY_KEY = 3;
inline constexpr int SCREEN_WON = 4;
// Under the rules with lies, the morning's questions to a wolf: whether it claims (s the
// seer, m the medium, any other key no), a false seer's seat and verdict (the cursor, then b
// or w), a false medium's verdict (b or w).
inline constexpr int SCREEN_CLAIM = 5;
inline constexpr int SCREEN_SEER_VERDICT = 6;
inline constexpr int SCREEN_MEDIUM_VERDICT = 7;

// The kind of the screen the game shows now (in a phase that waits for a key).
int screen_kind(const Game& game);

// The keys that walk the cursor from seat `from` to seat `to`: k to change rows of five,
// then l or j along the row.
std::string keys_to_seat(int from, int to);

// Who may be chosen on a screen of choice: at the attack a living seat that is not a wolf,
// at a vote any living seat, a wolf included; on any other screen nobody.
constexpr bool may_be_chosen(int phase, bool alive, bool wolf) {
    return alive && (phase == PHASE_VOTE_SELECT || (phase == PHASE_ATTACK_SELECT && !wolf));
}

// The same, for a seat of a game on the screen it shows.
bool may_choose(const Game& game, int seat);

// Moves the cursor for the key (its meaning: KEY_UP, ...) over the two rows of five
// seats, wrapping.
void move_cursor(Game& game, int key);

// Acts on a key for the current phase.
void handle_key(Game& game, std::uint8_t key);
