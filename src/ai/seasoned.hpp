// The seasoned village: the computer seats' rules under the rules with lies, where a wolf
// may claim to be the seer or the medium. Each seat reads only what is public (the claims
// and what each claimant said) and what its own role tells it, as the plain rules of the
// first village do:
//
// - A liar is a claimant the seat knows to lie. The real seer knows that any other seer
//   is one, and any medium who contradicts him; the real medium that any other medium is,
//   and any seer he contradicts. Everybody knows what the one medium shows (when a single
//   medium has claimed): a seer whose word on a hanged seat he contradicts lies; a hanged
//   seer he reads as a wolf lied, and one he reads as human told the truth, so the other
//   seers lie. Likewise the one seer trusted (a single seer not shown false) shows a
//   medium who contradicts him.
// - Votes (every seat but the madman): the lowest living liar it knows; else the real seer
//   his own lowest living black; else, with one seer to trust, the lowest living seat that
//   seer called black; else, with two seers or more that nobody can tell apart, the lowest
//   living of them other than itself (a roller: the claimants are hanged in turn, and the
//   medium's word on the first tells the village about the rest); then likewise two
//   mediums; else a seat it suspects, drawn at random: one who voted against a lone seer
//   or medium it does not know to lie (the wolves' tell); else as the first village votes,
//   counting only the claimants not shown false.
// - The bodyguard guards as in the first village, never a claimant shown false.
// - The seer inspects a living claimant of a role that two seats or more claim, one he has
//   not inspected yet, the lowest first; else as in the first village.
// - The madman calls and votes as in the first village.
#pragma once

#include "ai/sight.hpp"

// Claimants shown false to everybody, a bit a seat (the bodyguard never guards them).
unsigned public_liars(const Sight& s);

// Claimants the seat knows to lie, a bit a seat: the public liars, and those its own role
// shows.
unsigned known_liars(const Sight& s);

// What a seat makes of the claims, worked out once a vote: the claimants it knows to lie
// (known_liars), and the sight as the first village's rules read it in the seasoned
// village, where those claimants count for nothing, their verdicts neither.
struct ClaimReading {
    unsigned liars;
    Sight trusted;
};
ClaimReading read_claims(const Sight& s);

// The seasoned vote of a seat other than the madman, when one of its rules chooses; NONE
// when the first village's rule decides (on the reading's trusted sight).
int seasoned_vote(const Sight& s, const ClaimReading& reading);

// The seats a seat suspects: the living others without a claim and without a white from a
// seer it trusts, who voted on an earlier day for a seat that was then the only one to
// claim its role, and that it does not know to lie. A bit a seat.
unsigned suspects(const Sight& s, const ClaimReading& reading);

// The seasoned seer's inspection when it differs from the first village's: a living
// claimant of a role claimed twice or more, not inspected yet; else NONE.
int seasoned_inspection(const Sight& s);
