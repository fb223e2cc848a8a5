#include "model/new_game.hpp"

#include <utility>

void shuffle_deck(std::array<int, SEAT_COUNT>& deck, Random& random) {
    // One 15-bit draw per position is always enough here: k + 1 never exceeds 32767.
    static_assert(SEAT_COUNT <= RANDOM_MAX);
    for (unsigned k = 1; k < SEAT_COUNT; ++k) {
        const unsigned j = static_cast<unsigned>(random_output(random)) % (k + 1);
        if (j != k) std::swap(deck[k], deck[j]);
    }
}

namespace {

void clear_tables(Game& game) {
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        game.co_public[seat] = NONE;
        game.death_day[seat] = NONE;
        game.black_count[seat] = 0;
        game.white_count[seat] = 0;
        for (int day = 0; day < DAY_SLOTS; ++day) game.votes[seat][day] = NONE;
    }
    for (int day = 0; day < DAY_SLOTS; ++day) {
        game.attacked_on[day] = NONE;
        game.attacks[day] = NONE;
        game.hanged_on[day] = NONE;
    }
    game.winner = NONE;
    game.seer_claims = 0;
    game.medium_claims = 0;
    clear_night_records(game);  // the published claims and every seat's nights
    game.wolf_count = 0;
    game.day = 1;
    game.phase = PHASE_NIGHT_AI;
    game.cursor = 0;
    for (LogLine& line : game.log) line = {NONE, NONE};
    for (std::int32_t& day : game.claim_asked) day = NONE;
    for (std::int32_t& day : game.claimed_on) day = NONE;
}

void reset_seat(Game& game, int seat, int role) {
    Player& p = game.players[seat];
    p.co_claim = NONE;
    p.hanged_day = NONE;
    p.attacked_day = NONE;
    p.alive = 1;
    for (int day = 1; day < DAY_SLOTS; ++day) p.vote[day] = NONE;
    p.seat = seat;
    p.role = role;
    if (role == ROLE_WOLF && game.wolf_count < WOLF_SEATS) {
        game.wolf_seats[game.wolf_count] = seat;
        game.wolf_count += 1;
    }
}

}  // namespace

void new_game(Game& game) {
    clear_tables(game);
    std::array<int, SEAT_COUNT> deck = ROLE_DECK;
    shuffle_deck(deck, game.random);
    for (int seat = 0; seat < SEAT_COUNT; ++seat) reset_seat(game, seat, deck[seat]);
}
