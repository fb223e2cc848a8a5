// Rollouts played on several threads: a pool of helpers started once and woken for every
// round, each taking the next rollout not yet taken. Every rollout's result has its own
// place in the round, so the round adds up the same whatever thread played what.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "coach/odds.hpp"

struct RolloutPool {
    std::vector<std::thread> helpers;
    std::mutex lock;  // guards everything below
    std::condition_variable wake;
    std::condition_variable finished;
    const OddsWork* work;
    Round* round;
    int next;              // the next rollout of the round to take
    int working;           // helpers still at the round
    std::uint64_t rounds;  // rounds handed out so far
    bool closing;
};

// Starts threads - 1 helpers (the caller's thread is the last), or as many as the system
// gives.
void pool_start(RolloutPool& pool, int threads);

// Ends the helpers and waits for them.
void pool_stop(RolloutPool& pool);

// Plays every rollout of the round: on the pool, or on this thread alone without one.
void play_round(const OddsWork& work, Round& round, RolloutPool* pool);
