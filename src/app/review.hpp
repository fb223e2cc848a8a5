// jinro --review FILE: the review of every game of a record, as text in the game's
// language or as JSON lines for tools, each game printed as soon as it is worked out. The
// same record gives the same review, byte for byte, whatever the machine and the threads.
#pragma once

#include <functional>
#include <string>

#include "app/options.hpp"
#include "model/record.hpp"

// Reviews the record's games one after another and hands each game's review to print;
// stops at the first print that fails. False then.
bool review_record(const Record& record, const Options& options,
                   const std::function<bool(const std::string&)>& print);
