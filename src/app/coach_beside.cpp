#include "app/coach_beside.hpp"

#include <memory>
#include <system_error>

#include "coach/public_record.hpp"
#include "engine/keys.hpp"

namespace {

void work_out(CoachBeside& coach, PublicRecord record) {
    const auto work = std::make_unique<OddsWork>();
    const auto round = std::make_unique<Round>();
    if (odds_begin(*work, record, COACH_FULL)) {
        const Forecast forecast = forecast_of(record, work->beliefs);
        while (!coach.stop && odds_round(*work, *round, nullptr)) {
            const std::lock_guard<std::mutex> held(coach.lock);
            coach.view = {record, work->odds, forecast};
            coach.fresh = true;
        }
    }
    coach.busy = false;
}

}  // namespace

void coach_stop(CoachBeside& coach) {
    coach.stop = true;
    if (coach.worker.joinable()) coach.worker.join();
    coach.stop = false;
    coach.busy = false;
    coach.following = false;
    const std::lock_guard<std::mutex> held(coach.lock);
    coach.fresh = false;
}

void coach_follow(CoachBeside& coach, const Game& game) {
    if (screen_kind(game) == SCREEN_ANY_KEY || game.winner != NONE) {
        coach_stop(coach);
        return;
    }
    const PublicRecord record = public_record_of(game);
    const std::uint64_t decision = public_record_hash(record);
    if (coach.following && coach.decision == decision) return;  // the cursor moved: the same choice
    coach_stop(coach);
    coach.following = true;
    coach.decision = decision;
    coach.busy = true;
    try {
        coach.worker = std::thread(work_out, std::ref(coach), record);
    } catch (const std::system_error&) {
        coach.busy = false;  // no thread to be had: no odds, and the game plays on
    }
}

bool coach_take(CoachBeside& coach, CoachView& view) {
    const std::lock_guard<std::mutex> held(coach.lock);
    if (!coach.fresh) return false;
    view = coach.view;
    coach.fresh = false;
    return true;
}

bool coach_waiting(CoachBeside& coach) {
    const std::lock_guard<std::mutex> held(coach.lock);
    return coach.busy || coach.fresh;
}
