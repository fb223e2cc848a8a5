#include "engine/phases.hpp"

#include "ai/night.hpp"
#include "ai/vote.hpp"
#include "engine/rules.hpp"

void run_night(Game& game) {
    const Sight village = village_sight(game);
    for (Player& p : game.players) {
        if (p.alive != 1) continue;  // the dead write nothing
        ai_night_action(game, p, village);
        complete_night_record(game, p);
    }
    game.phase = PHASE_ATTACK_SELECT;
}

namespace {

void publish_claims(Game& game) {
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        const Player& p = game.players[seat];
        if (p.alive != 1) continue;
        if (game.co_public[seat] == NONE && p.co_claim != NONE) game.claimed_on[seat] = game.day;
        game.co_public[seat] = p.co_claim;
    }
    game.phase = PHASE_CLAIM_RESULTS;
}

}  // namespace

// The wolves' votes come from the human in the next phase.
void computer_votes(Game& game, int search) {
    Sight seen = village_sight(game);  // what every seat sees, each as itself in turn
    for (Player& p : game.players) {
        if (p.role == ROLE_WOLF || p.alive != 1) continue;
        look_as(seen, game, p.seat);
        // ai_vote overwrites this vote at once; it is drawn only because the random draws
        // of every vote after it depend on it, and a seed must give the same game.
        p.vote[game.day] = pick_living_other(seen, game.random);
        ai_vote(game, p, seen, search);
    }
    game.phase = PHASE_VOTE_SELECT;
}

void update(Game& game, int search) {
    switch (game.phase) {
    case PHASE_NIGHT_AI: run_night(game); break;
    case PHASE_DAWN_CHECK:
        game.phase = PHASE_FAKE_CLAIM;
        check_victory(game);
        break;
    case PHASE_PUBLISH_CLAIMS: publish_claims(game); break;
    case PHASE_AI_VOTES: computer_votes(game, search); break;
    case PHASE_DUSK_CHECK:
        game.phase = PHASE_NIGHT_AI;
        check_victory(game);
        break;
    default: break;  // the human's phases
    }
}
