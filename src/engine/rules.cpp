#include "engine/rules.hpp"

void resolve_attack(Game& game, int t) {
    // A dead hunter wrote no record tonight, so his target is -1 and guards nobody.
    for (const Player& p : game.players) {
        if (p.role == ROLE_HUNTER && p.night[game.day].target == t) {
            push_log(game, LOG_ATTACK_FAILED, NONE);
            return;
        }
    }
    execute_attack(game, t);
}

void execute_attack(Game& game, int t) {
    const int d = game.day;
    game.attacked_on[d] = t;
    game.players[t].alive = 0;
    game.players[t].attacked_day = d;
    game.death_day[t] = d;
    push_log(game, LOG_FOUND_DEAD, t);
}

void execute_hanging(Game& game, const int (&tally)[SEAT_COUNT]) {
    const int d = game.day;
    int most = -1;
    for (int votes : tally) {
        if (votes > most) most = votes;
    }
    // With no vote at all there is nobody to hang; drawing "a seat with 0 votes" could
    // hang a seat that is already dead.
    if (most < 1) return;
    int w = random_seat(game);
    while (tally[w] != most) w = random_seat(game);
    game.players[w].alive = 0;
    game.players[w].hanged_day = d;
    push_log(game, LOG_HANGED, w);
    game.hanged_on[d] = w;
    game.death_day[w] = d;
}

void hang_most_voted(Game& game) {
    const int d = game.day;
    int tally[SEAT_COUNT] = {};
    for (const Player& p : game.players) {
        if (p.alive == 1 && is_seat(p.vote[d])) tally[p.vote[d]] += 1;
    }
    execute_hanging(game, tally);
}

void check_victory(Game& game) {
    int living = 0;
    int wolves = 0;
    for (const Player& p : game.players) {
        if (p.alive != 1) continue;
        living += 1;
        if (p.role == ROLE_WOLF) wolves += 1;
    }
    game.wolf_count = wolves;
    if (wolves <= 0) {
        game.phase = PHASE_VILLAGE_WON;
        game.winner = WINNER_VILLAGE;
    }
    // Wolves win when they are at least as many as the living seats that are not wolves.
    if (wolves >= (living + 1) / 2) {
        game.phase = PHASE_WOLVES_WON;
        game.winner = WINNER_WOLVES;
    }
}
