#include "ai/vote.hpp"

#include "ai/draws.hpp"

namespace {

constexpr int VOTE_ATTEMPTS = 1000;
constexpr int MEDIUM_RULE_PERCENT = 30;
constexpr int MEDIUM_RULE_FIRST_DAY = 3;

int lowest_living_black(const Game& game) {
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        if (game.death_day[seat] == NONE && game.black_count[seat] >= 1) return seat;
    }
    return NONE;
}

int claimed_medium(const Game& game) {
    int medium = NONE;
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        if (game.co_public[seat] == ROLE_MEDIUM) medium = seat;
    }
    return medium;
}

// With one published seer: a black verdict first, then the medium rule, then a seat with
// neither claim nor white verdict.
int vote_with_one_seer(Game& game, const Player& p) {
    int choice = lowest_living_black(game);
    if (choice == NONE) choice = medium_rule_vote(game, p);
    if (choice == NONE) {
        choice = search_attempts(game, p, VOTE_ATTEMPTS, [&](int c) {
            return game.co_public[c] == NONE && game.white_count[c] < 1;
        });
    }
    return choice;
}

// With no published seer: the medium rule, then a seat without claim.
int vote_without_seer(Game& game, const Player& p) {
    int choice = medium_rule_vote(game, p);
    if (choice == NONE) {
        choice = search_attempts(game, p, VOTE_ATTEMPTS,
                                 [&](int c) { return game.co_public[c] == NONE; });
    }
    return choice;
}

}  // namespace

int medium_rule_vote(Game& game, const Player& p) {
    const int d = game.day;
    if (game.medium_claims != 1 || d < MEDIUM_RULE_FIRST_DAY) return NONE;
    const int hanged = game.hanged_on[d - 1];
    const int medium = claimed_medium(game);
    if (medium == NONE || game.claims[medium][d - 1].result != VERDICT_WHITE) return NONE;
    if (percent_roll(game) >= MEDIUM_RULE_PERCENT) return NONE;
    return search_attempts(game, p, VOTE_ATTEMPTS, [&](int c) {
        return game.co_public[c] == NONE && game.white_count[c] < 1 &&
               game.votes[c][d - 1] == hanged;
    });
}

void ai_vote(Game& game, Player& p) {
    const int d = game.day;
    p.vote[d] = draw_living_candidate(game, p);
    int choice = NONE;
    if (p.role == ROLE_MADMAN) {
        const int called = p.night[d - 1].target;
        if (called != NONE && game.death_day[called] == NONE) choice = called;
    } else if (game.seer_claims == 1) {
        choice = vote_with_one_seer(game, p);
    } else if (game.seer_claims == 0) {
        choice = vote_without_seer(game, p);
    }
    if (choice != NONE) p.vote[d] = choice;
}
