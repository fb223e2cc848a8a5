// What the wolves do not see, drawn from what they did. The coach plays a choice out on
// games that agree with the public record: the roles of the unclaimed seats dealt from the
// known deck, each deal weighted by how likely it makes everything the screens showed, and
// the hidden choices of tonight (or today's computer votes) drawn afresh.
//
// A deal must agree with the claims: the seer and the medium claim on the first morning
// they are alive, so a missing claim means that seat was the first night's victim; the
// madman claims from his third night, so no madman claim after the fourth morning means
// he died by then; the claimants are who they say. A failed attack means the hunter was
// alive that night, and not the seat attacked. Then each deal is weighted by the chance,
// under the computer seats' own rules, of every guard outcome the wolves saw (an attack
// that failed, or went through) and of every vote on a filed day (the madman votes his
// call, or at random before he calls; the others by the claims, verdicts and votes).
#pragma once

#include <cstdint>

#include "coach/policy.hpp"
#include "coach/public_record.hpp"

// Madman, seer, medium and hunter over the eight seats that are not wolves.
inline constexpr int MAX_DEALS = 8 * 7 * 6 * 5;

struct Beliefs {
    int count;                                 // deals that agree with the record
    std::uint8_t role[MAX_DEALS][SEAT_COUNT];  // each deal's roles by seat
    double weight[MAX_DEALS];                  // how likely each makes what was shown
    double cumulative[MAX_DEALS];              // running sums of the weights, for drawing
    bool weighed;                              // false: every deal was unlikely, all count alike
};

// The deals that agree with the record, weighted.
void build_beliefs(const PublicRecord& record, Beliefs& beliefs);

// One deal drawn in proportion to its weight: its index.
int draw_deal(const Beliefs& beliefs, Dice& dice);

// A whole game that agrees with the record under a deal: the public facts as the record
// has them, the roles of the deal, the claims the rules make from them, a random source
// of the given seed, and the hidden choices of the screen drawn afresh from it (tonight's
// actions at an attack, today's computer votes at a vote).
void determinize(const PublicRecord& record, const std::uint8_t (&roles)[SEAT_COUNT],
                 std::uint32_t seed, Game& game);
