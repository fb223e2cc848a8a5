#include "coach/rollouts.hpp"

#include <system_error>

namespace {

// Takes and plays rollouts of the pool's round until none is left. Called with the lock
// held; plays without it.
void take_rollouts(RolloutPool& pool, std::unique_lock<std::mutex>& held) {
    while (pool.next < pool.round->size) {
        const int k = pool.next++;
        held.unlock();
        pool.round->outcome[k] = play_rollout(*pool.work, pool.round->rollout[k]);
        held.lock();
    }
}

void helper(RolloutPool* pool) {
    std::unique_lock<std::mutex> held(pool->lock);
    std::uint64_t seen = 0;
    for (;;) {
        pool->wake.wait(held, [&] { return pool->closing || pool->rounds != seen; });
        if (pool->closing) return;
        seen = pool->rounds;
        take_rollouts(*pool, held);
        if (--pool->working == 0) pool->finished.notify_all();
    }
}

}  // namespace

void pool_start(RolloutPool& pool, int threads) {
    pool.closing = false;
    pool.rounds = 0;
    pool.working = 0;
    try {
        for (int t = 1; t < threads; ++t) pool.helpers.emplace_back(helper, &pool);
    } catch (const std::system_error&) {
        // No more threads to be had: the rounds are played by those there are, this one
        // at least.
    }
}

void pool_stop(RolloutPool& pool) {
    {
        const std::lock_guard<std::mutex> held(pool.lock);
        pool.closing = true;
    }
    pool.wake.notify_all();
    for (std::thread& thread : pool.helpers) thread.join();
    pool.helpers.clear();
}

void play_round(const OddsWork& work, Round& round, RolloutPool* pool) {
    if (pool == nullptr || pool->helpers.empty()) {
        for (int k = 0; k < round.size; ++k)
            round.outcome[k] = play_rollout(work, round.rollout[k]);
        return;
    }
    std::unique_lock<std::mutex> held(pool->lock);
    pool->work = &work;
    pool->round = &round;
    pool->next = 0;
    pool->working = static_cast<int>(pool->helpers.size());
    pool->rounds += 1;
    pool->wake.notify_all();
    take_rollouts(*pool, held);
    pool->finished.wait(held, [&] { return pool->working == 0; });
}
