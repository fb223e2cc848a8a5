// What the computer seats do at night: the seer inspects, the bodyguard guards, the madman
// calls for a death, and the seer, medium and madman decide what they will claim. Each
// rule chooses from what its seat sees; beside it, the chance of each seat it may choose.
#pragma once

#include "ai/sight.hpp"

// The seer and the medium claim from the first night on, the madman from the third: his
// claim is first published on the morning of day 4.
inline constexpr int MADMAN_FIRST_NIGHT = 3;

// The night from which a role claims, or NONE for the roles that never claim.
constexpr int first_claim_night(int role) {
    if (role == ROLE_SEER || role == ROLE_MEDIUM) return 1;
    if (role == ROLE_MADMAN) return MADMAN_FIRST_NIGHT;
    return NONE;
}

// A random living seat other than the one who sees, drawn until one comes up. The engine
// draws one before each computer vote.
int pick_living_other(const Sight& s, Random& random);

// The seer looks at a seat nobody knows anything about (no claim, no published verdict),
// found in up to 100 draws; else at the first candidate drawn.
int inspection_rule(const Sight& s, Random& random);
Chances inspection_chances(const Sight& s);

// The bodyguard guards a claimed seer, found in up to 20 draws; on a roll below 15 a claimed
// medium first; then a claimed medium; else the first candidate drawn. Never himself.
int guard_rule(const Sight& s, Random& random);
Chances guard_chances(const Sight& s);

// The madman calls for the death of a random candidate.
int call_rule(const Sight& s, Random& random);
Chances call_chances(const Sight& s);

// Seat p's choice for tonight (the night of day game.day), by its role, from what the
// village sees (village_sight). The night actions draw from the game's random source and
// write only the acting seat's own record and claim.
void ai_night_action(Game& game, Player& p, const Sight& village);

// Completes seat p's record of tonight: the seer's and medium's verdicts, the bodyguard's
// guard (never himself).
void complete_night_record(const Game& game, Player& p);
