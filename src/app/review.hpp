// jinro --review FILE: the review of every game of a record, as text in the game's
// language or as JSON lines for tools. The same record gives the same review, byte for
// byte, whatever the machine and the threads.
#pragma once

#include <string>

#include "app/options.hpp"
#include "coach/odds.hpp"
#include "model/record.hpp"

// The odds of a decision, its rollouts played on `threads` threads.
Odds threaded_odds(const PublicRecord& record, Budget budget, int threads);

// The review of the record.
std::string review_report(const Record& record, const Options& options);
