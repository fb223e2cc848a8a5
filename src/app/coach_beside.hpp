// The coach beside a game in the terminal (--coach): while the screen of an attack, a vote
// or a question of the morning waits for its key, the odds of every legal choice are worked out on
// a thread of their own, round after round, and each round's odds are drawn as they firm up. A key
// is never kept waiting: it stops the work of a screen it leaves.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

#include "coach/forecast.hpp"
#include "coach/odds.hpp"

// What the coach tells of the decision on screen.
struct CoachView {
    PublicRecord record;
    Odds odds;
    Forecast forecast;
};

struct CoachBeside {
    std::thread worker;
    std::mutex lock;  // guards view and fresh
    CoachView view;   // the odds so far
    bool fresh;       // odds not yet taken
    std::atomic<bool> stop;
    std::atomic<bool> busy;
    bool following;          // a decision is being worked out, or was
    std::uint64_t decision;  // the hash of its public record
};

// Follows the game to its screen: starts the odds of a new decision, stops at any other
// screen.
void coach_follow(CoachBeside& coach, const Game& game);

// The odds of the decision shown, when they changed since last taken.
bool coach_take(CoachBeside& coach, CoachView& view);

// True while odds are being worked out, or wait to be taken.
bool coach_waiting(CoachBeside& coach);

// Stops the work and waits for its thread.
void coach_stop(CoachBeside& coach);
