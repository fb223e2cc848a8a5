#include "model/game.hpp"

void clear_night_records(Game& game) {
    constexpr NightRecord none = {NONE, NONE, NONE, NONE};
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        for (int day = 0; day < DAY_SLOTS; ++day) {
            game.claims[seat][day] = none;
            game.players[seat].night[day] = none;
        }
    }
}

void reset_game(Game& game) {
    game = Game{};
    clear_night_records(game);
    for (LogLine& line : game.log) line = {NONE, NONE};
    for (std::int32_t& seat : game.attacks) seat = NONE;
    for (std::int32_t& day : game.claim_asked) day = NONE;
    for (std::int32_t& day : game.claimed_on) day = NONE;
}

int next_voter_index(const Game& game) {
    int index = game.voter_index < 0 ? 0 : game.voter_index;
    while (index < WOLF_SEATS &&
           !(is_seat(game.wolf_seats[index]) && game.players[game.wolf_seats[index]].alive == 1)) {
        ++index;
    }
    return index;
}

void push_log(Game& game, int kind, int seat) {
    for (int line = LOG_LINES - 1; line > 0; --line) game.log[line] = game.log[line - 1];
    game.log[0] = {kind, seat};
}
