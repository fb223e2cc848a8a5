// jinro --simulate N: N games played by a policy, from consecutive seeds, on every core;
// the wolves' win rate with its 95% interval, the mean last day, and the speed. Memory
// does not grow with N, and the games finished count when the run is stopped early.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "app/options.hpp"

// Where a simulation stands.
struct Simulation {
    long games;      // asked for
    long done;       // finished
    long won;        // by the wolves, among those finished
    long days;       // the last days of those finished, added up
    double seconds;  // since it started
    int threads;
    bool partial;  // stopped before every game was played
};

// Plays the games the options ask for; every half second or so, progress(where it
// stands) on the calling thread. Stops early, with the games finished so far, once stop
// is set.
Simulation simulate(const Options& options, const std::atomic<bool>& stop,
                    const std::function<void(const Simulation&)>& progress);

// The report of a simulation (text in the options' language, or JSON): everything but the
// speed is the same whatever the threads.
std::string simulation_report(const Options& options, const Simulation& simulation);

// A line of progress for a terminal: games done, the win rate so far, the speed and the
// time left.
std::string progress_line(const Options& options, const Simulation& simulation);
