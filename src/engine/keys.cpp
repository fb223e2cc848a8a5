#include "engine/keys.hpp"

#include "engine/morning.hpp"
#include "engine/rules.hpp"
#include "model/new_game.hpp"

namespace {

constexpr int SEATS_PER_ROW = 5;

void confirm_attack(Game& game) {
    const int t = game.cursor;
    if (!may_choose(game, t)) return;
    game.attacks[game.day] = t;
    resolve_attack(game, t);
    game.phase = PHASE_DAWN_CHECK;
    game.day += 1;
    game.voter_index = 0;
}

// Files the verdicts published this morning by the living seer and medium, and the
// madman's call.
void tally_verdicts(Game& game) {
    const int night = game.day - 1;
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        if (game.players[seat].alive != 1) continue;
        const NightRecord& n = game.players[seat].night[night];
        NightRecord& filed = game.claims[seat][night];
        const int claim = game.co_public[seat];
        const bool verdict = n.result == VERDICT_BLACK || n.result == VERDICT_WHITE;
        if (claim == ROLE_SEER && verdict && is_seat(n.target)) {
            (n.result == VERDICT_BLACK ? game.black_count : game.white_count)[n.target] += 1;
            filed.target = n.target;
            filed.result = n.result;
        } else if (claim == ROLE_MEDIUM && verdict) {
            filed.result = n.result;
        } else if (claim == ROLE_MADMAN) {
            filed.target = n.target;
        }
    }
    game.seer_claims = 0;
    game.medium_claims = 0;
    for (int claim : game.co_public) {
        if (claim == ROLE_SEER) game.seer_claims += 1;
        if (claim == ROLE_MEDIUM) game.medium_claims += 1;
    }
    game.phase = PHASE_AI_VOTES;
    game.voter_index = 0;
}

// One wolf's vote, lower seat first; dead wolves are skipped.
void confirm_wolf_vote(Game& game) {
    const int target = game.cursor;
    if (!may_choose(game, target)) return;
    const int index = next_voter_index(game);
    if (index >= WOLF_SEATS) {  // no living wolf left to vote; the vote is over
        game.phase = PHASE_VOTE_RESULTS;
        return;
    }
    game.players[game.wolf_seats[index]].vote[game.day] = target;
    game.voter_index = index + 1;
    if (game.voter_index >= game.wolf_count) game.phase = PHASE_VOTE_RESULTS;
}

// The vote-results screen showed every vote and the cards before the hanging; its key
// hangs the most-voted seat (the next screen shows it dead), then files the day's votes.
void file_votes(Game& game) {
    hang_most_voted(game);
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        game.votes[seat][game.day] = game.players[seat].vote[game.day];
    }
    game.phase = PHASE_DUSK_CHECK;
}

}  // namespace

int screen_kind(const Game& game) {
    switch (morning_question(game).kind) {
    case QUESTION_CLAIM: return SCREEN_CLAIM;
    case QUESTION_SEER_VERDICT: return SCREEN_SEER_VERDICT;
    case QUESTION_MEDIUM_VERDICT: return SCREEN_MEDIUM_VERDICT;
    default: break;
    }
    switch (game.phase) {
    case PHASE_ATTACK_SELECT: return SCREEN_CHOOSE_ATTACK;
    case PHASE_VOTE_SELECT: return SCREEN_CHOOSE_VOTE;
    case PHASE_VILLAGE_WON:
    case PHASE_WOLVES_WON: return SCREEN_WON;
    default: return SCREEN_ANY_KEY;
    }
}

std::string keys_to_seat(int from, int to) {
    if (!is_seat(from) || !is_seat(to)) return "";
    std::string keys;
    int at = from;
    if (at / SEATS_PER_ROW != to / SEATS_PER_ROW) {
        keys += KEY_DOWN;
        at = (at + SEATS_PER_ROW) % SEAT_COUNT;
    }
    keys.append(static_cast<std::size_t>(to > at ? to - at : at - to),
                to > at ? KEY_RIGHT : KEY_LEFT);
    return keys;
}

bool may_choose(const Game& game, int seat) {
    return is_seat(seat) && may_be_chosen(game.phase, game.players[seat].alive == 1,
                                          game.players[seat].role == ROLE_WOLF);
}

void move_cursor(Game& game, int key) {
    switch (key) {
    case KEY_UP: game.cursor -= SEATS_PER_ROW; break;
    case KEY_LEFT: game.cursor -= 1; break;
    case KEY_DOWN: game.cursor += SEATS_PER_ROW; break;
    case KEY_RIGHT: game.cursor += 1; break;
    default: break;
    }
    game.cursor = (game.cursor + SEAT_COUNT) % SEAT_COUNT;
}

void handle_key(Game& game, std::uint8_t key) {
    const int meaning = key_meaning(key);
    switch (game.phase) {
    case PHASE_ATTACK_SELECT:
        move_cursor(game, meaning);
        if (meaning == KEY_CHOOSE) confirm_attack(game);
        break;
    case PHASE_VOTE_SELECT:
        move_cursor(game, meaning);
        if (meaning == KEY_CHOOSE) confirm_wolf_vote(game);
        break;
    case PHASE_FAKE_CLAIM:  // nothing to ask without lies: any key leads on
        if (wolves_may_lie(game.rules)) {
            answer_question(game, meaning);
        } else {
            game.phase = PHASE_PUBLISH_CLAIMS;
        }
        break;
    case PHASE_CLAIM_RESULTS: tally_verdicts(game); break;
    case PHASE_VOTE_RESULTS: file_votes(game); break;
    case PHASE_VILLAGE_WON:
    case PHASE_WOLVES_WON:
        if (meaning == KEY_AGAIN) new_game(game);
        break;
    default: break;
    }
}
