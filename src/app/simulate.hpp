// jinro --simulate N: N games played by a policy, from consecutive seeds, on every core;
// the wolves' win rate with its 95% interval, the mean last day, and the speed.
#pragma once

#include <cstdint>
#include <string>

#include "app/options.hpp"

// The threads to use: the option's, or one for each core.
int threads_to_use(const Options& options);

// The report of the simulation the options ask for (text in their language, or JSON):
// everything but the speed is the same whatever the threads.
std::string simulation_report(const Options& options);
