#include "model/invariants.hpp"

namespace {

bool seat_or_none(int value) { return value == NONE || is_seat(value); }

const char* broken_seat_invariant(const Game& game, int seat) {
    const Player& p = game.players[seat];
    if (p.seat != seat) return "a seat does not know its number";
    if (p.alive != 0 && p.alive != 1) return "alive is neither 0 nor 1";
    const bool dead = p.alive == 0;
    if (dead != (game.death_day[seat] != NONE)) return "alive and death_day disagree";
    if (dead && (p.hanged_day == NONE) == (p.attacked_day == NONE)) {
        return "a dead seat is not either hanged or attacked";
    }
    if (!dead && (p.hanged_day != NONE || p.attacked_day != NONE)) return "a living seat died";
    const int claim = game.co_public[seat];
    if (claim != NONE && claim != ROLE_MADMAN && claim != ROLE_SEER && claim != ROLE_MEDIUM) {
        return "a published claim is no claim";
    }
    if (game.black_count[seat] < 0 || game.white_count[seat] < 0) return "a negative count";
    for (int day = 0; day < DAY_SLOTS; ++day) {
        const bool seats = seat_or_none(p.night[day].target) && seat_or_none(p.vote[day]) &&
                           seat_or_none(game.claims[seat][day].target) &&
                           seat_or_none(game.votes[seat][day]);
        if (!seats) return "a record names a seat outside 0..9";
    }
    return nullptr;
}

// Every vote about to be counted is on a living seat.
const char* broken_vote_invariant(const Game& game) {
    if (game.phase != PHASE_VOTE_RESULTS) return nullptr;
    for (const Player& p : game.players) {
        if (p.alive != 1) continue;
        const int vote = p.vote[game.day];
        if (!is_seat(vote) || game.players[vote].alive != 1) return "a vote not on a living seat";
    }
    return nullptr;
}

}  // namespace

const char* broken_invariant(const Game& game) {
    if (!is_seat(game.cursor)) return "the cursor is off the seats";
    if (game.phase < PHASE_NIGHT_AI || game.phase > PHASE_WOLVES_WON) return "no such phase";
    if (game.winner != NONE && game.winner != WINNER_VILLAGE && game.winner != WINNER_WOLVES) {
        return "no such winner";
    }
    if (game.winner == NONE && (game.day < 1 || game.day > 9)) return "a day outside 1..9";
    if (game.voter_index < 0 || game.voter_index > WOLF_SEATS) return "voter_index out of range";
    if (game.wolf_count < 0 || game.wolf_count > WOLF_SEATS) return "wolf_count out of range";
    for (int seat : game.wolf_seats) {
        if (!is_seat(seat) || game.players[seat].role != ROLE_WOLF) return "a wolf seat is no wolf";
    }
    for (int day = 0; day < DAY_SLOTS; ++day) {
        if (!seat_or_none(game.hanged_on[day]) || !seat_or_none(game.attacked_on[day]) ||
            !seat_or_none(game.attacks[day])) {
            return "a death names a seat outside 0..9";
        }
    }
    for (const LogLine& line : game.log) {
        const bool empty = line.kind == NONE && line.seat == NONE;
        const bool failed = line.kind == LOG_ATTACK_FAILED && line.seat == NONE;
        const bool death =
            (line.kind == LOG_FOUND_DEAD || line.kind == LOG_HANGED) && is_seat(line.seat);
        if (!empty && !failed && !death) return "a log line tells nothing that can happen";
    }
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        if (const char* broken = broken_seat_invariant(game, seat)) return broken;
    }
    return broken_vote_invariant(game);
}
