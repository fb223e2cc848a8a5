// The morning screen under the rules with lies: each living wolf, in seat order, is asked
// whether it claims to be the seer or the medium (once a morning, until it has claimed);
// a wolf that claims the seer names a living seat every morning and calls it black or
// white, as a seer would; one that claims the medium calls the seat hanged the day before
// black or white, from day 3, as a medium would. The claim is published and filed as a
// real one is: it looks the same on every screen.
#pragma once

#include "model/game.hpp"

inline constexpr int QUESTION_NONE = 0;
inline constexpr int QUESTION_CLAIM = 1;           // does the wolf claim, and as what
inline constexpr int QUESTION_SEER_VERDICT = 2;    // the false seer's seat and verdict
inline constexpr int QUESTION_MEDIUM_VERDICT = 3;  // the false medium's verdict

struct Question {
    int kind;  // QUESTION_...
    int wolf;  // the seat of the wolf asked, or NONE
};

// What the morning screen asks now (phase 3 under RULES_BLUFF); QUESTION_NONE when every
// wolf has answered, or under the standard rules.
Question morning_question(const Game& game);

// The seats a false seer may name: a living seat other than himself.
bool may_be_named(const Game& game, int wolf, int seat);

// Acts on a key of the morning screen under RULES_BLUFF; the morning goes on to the
// claims once nothing more is asked.
void answer_question(Game& game, int key);
