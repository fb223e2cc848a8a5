// jinro --practice FILE: learning from one's mistakes. Every marked choice of the record's
// games is shown again at its own screen, the odds hidden; the player chooses as the game
// lets him (i j k l, z); then the odds of every choice, the best and the reason are shown,
// and a choice as good as the best, or within the best's interval, counts as found. At the
// end, how many were found.
#pragma once

#include "app/options.hpp"
#include "model/record.hpp"

// Practises the record's marked choices on the process console; the exit status. found and
// asked are set to how many were found among how many were asked (for the summary line).
int practise(const Record& record, const Options& options, int& found, int& asked);
