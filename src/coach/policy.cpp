#include "coach/policy.hpp"

#include "engine/keys.hpp"
#include "engine/morning.hpp"
#include "engine/step.hpp"
#include "model/keys.hpp"

std::uint64_t roll_dice(Dice& dice) {
    std::uint64_t z = (dice.state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int roll_below(Dice& dice, int n) {
    return static_cast<int>(roll_dice(dice) % static_cast<std::uint64_t>(n));
}

namespace {

// A random living seat that passes the test, or -1.
template <typename Test>
int random_seat_where(const Game& game, Dice& dice, Test test) {
    int seats[SEAT_COUNT];
    int count = 0;
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        if (game.players[seat].alive == 1 && test(seat)) seats[count++] = seat;
    }
    return count == 0 ? NONE : seats[roll_below(dice, count)];
}

bool wolf(const Game& game, int seat) { return game.players[seat].role == ROLE_WOLF; }

// The living seat that claims the role, the lowest first (a wolf's lie apart); -1 when
// none does.
int claimed(const Game& game, int role) {
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        const Player& p = game.players[seat];
        if (p.alive == 1 && game.co_public[seat] == role && p.role != ROLE_WOLF) return seat;
    }
    return NONE;
}

}  // namespace

int policy_choice(const Game& game, int policy, Dice& dice) {
    const auto not_wolf = [&](int seat) { return !wolf(game, seat); };
    if (policy == POLICY_HEURISTIC) {
        int seat = claimed(game, ROLE_SEER);
        if (seat == NONE) seat = claimed(game, ROLE_MEDIUM);
        if (seat != NONE) return seat;
        if (game.phase == PHASE_VOTE_SELECT) {
            seat = random_seat_where(
                game, dice, [&](int s) { return !wolf(game, s) && game.co_public[s] == NONE; });
            if (seat != NONE) return seat;
        }
    }
    return random_seat_where(game, dice, not_wolf);
}

Answer policy_answer(const Game& game, int policy, Dice& dice) {
    const Question q = morning_question(game);
    if (q.kind == QUESTION_CLAIM) {
        const bool lie = policy == POLICY_BLUFF && q.wolf == game.wolf_seats[0] && game.day == 2;
        return {NONE, lie ? KEY_CLAIM_SEER : KEY_ON};
    }
    if (q.kind == QUESTION_SEER_VERDICT) {
        int seat = random_seat_where(game, dice, [&](int s) {
            return !wolf(game, s) && game.co_public[s] == NONE && may_be_named(game, q.wolf, s);
        });
        if (seat == NONE) {
            seat = random_seat_where(
                game, dice, [&](int s) { return !wolf(game, s) && may_be_named(game, q.wolf, s); });
        }
        return {seat, KEY_BLACK};
    }
    const int hanged = game.hanged_on[game.day - 1];
    const bool was_wolf = is_seat(hanged) && wolf(game, hanged);
    return {NONE, was_wolf ? KEY_WHITE : KEY_BLACK};
}

void answer(Game& game, const Answer& a, int search) {
    if (is_seat(a.seat)) game.cursor = a.seat;
    step_game(game, static_cast<std::uint8_t>(a.key), search);
}

void choose(Game& game, int seat, int search) {
    game.cursor = seat;
    step_game(game, KEY_CHOOSE, search);
}

void play_out(Game& game, int policy, Dice& dice, int search) {
    // A game is decided by day 9 at the latest: one that is not, or that offers the wolves
    // nobody to choose, can only come from a record no game has; it is given up there.
    while (game.winner == NONE && game.day < DAY_SLOTS) {
        const int kind = screen_kind(game);
        if (kind == SCREEN_CHOOSE_ATTACK || kind == SCREEN_CHOOSE_VOTE) {
            const int seat = policy_choice(game, policy, dice);
            if (seat == NONE) return;
            choose(game, seat, search);
        } else if (kind == SCREEN_CLAIM || kind == SCREEN_SEER_VERDICT ||
                   kind == SCREEN_MEDIUM_VERDICT) {
            const Answer a = policy_answer(game, policy, dice);
            if (kind == SCREEN_SEER_VERDICT && a.seat == NONE) return;  // nobody to name
            answer(game, a, search);
        } else {
            step_game(game, KEY_ON, search);
        }
    }
}
