#include "engine/morning.hpp"

#include "engine/keys.hpp"
#include "model/keys.hpp"

Question morning_question(const Game& game) {
    if (!wolves_may_lie(game.rules) || game.phase != PHASE_FAKE_CLAIM) return {QUESTION_NONE, NONE};
    const int yesterday = game.day - 1;
    for (int k = 0; k < WOLF_SEATS; ++k) {
        const int wolf = game.wolf_seats[k];
        if (!is_seat(wolf) || game.players[wolf].alive != 1) continue;
        const Player& p = game.players[wolf];
        if (p.co_claim == NONE && game.claim_asked[k] != game.day) return {QUESTION_CLAIM, wolf};
        const bool told = p.night[yesterday].result != NONE;
        if (p.co_claim == ROLE_SEER && !told) return {QUESTION_SEER_VERDICT, wolf};
        if (p.co_claim == ROLE_MEDIUM && game.day >= MEDIUM_FIRST_RESULT_DAY && !told)
            return {QUESTION_MEDIUM_VERDICT, wolf};
    }
    return {QUESTION_NONE, NONE};
}

bool may_be_named(const Game& game, int wolf, int seat) {
    return is_seat(seat) && seat != wolf && game.players[seat].alive == 1;
}

void answer_question(Game& game, int key) {
    const Question q = morning_question(game);
    const int yesterday = game.day - 1;
    if (q.kind == QUESTION_CLAIM) {
        Player& p = game.players[q.wolf];
        if (key == KEY_CLAIM_SEER) p.co_claim = ROLE_SEER;
        if (key == KEY_CLAIM_MEDIUM) p.co_claim = ROLE_MEDIUM;
        game.claim_asked[q.wolf == game.wolf_seats[0] ? 0 : 1] = game.day;  // any key answers
    } else if (q.kind == QUESTION_SEER_VERDICT) {
        move_cursor(game, key);
        const bool said = key == KEY_BLACK || key == KEY_WHITE;
        if (said && may_be_named(game, q.wolf, game.cursor)) {
            game.players[q.wolf].night[yesterday] = {
                yesterday, ROLE_SEER, game.cursor,
                key == KEY_BLACK ? VERDICT_BLACK : VERDICT_WHITE};
        }
    } else if (q.kind == QUESTION_MEDIUM_VERDICT && (key == KEY_BLACK || key == KEY_WHITE)) {
        game.players[q.wolf].night[yesterday] = {yesterday, ROLE_MEDIUM, game.hanged_on[yesterday],
                                                 key == KEY_BLACK ? VERDICT_BLACK : VERDICT_WHITE};
    }
    if (morning_question(game).kind == QUESTION_NONE) game.phase = PHASE_PUBLISH_CLAIMS;
}
