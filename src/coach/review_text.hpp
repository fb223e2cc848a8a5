// The review in words: as text in a language for the command line, as JSON lines for
// tools, and a row at a time for the page. One notation for a chance everywhere: "41%
// (38-44%)", the estimate and its 95% interval.
#pragma once

#include <string>

#include "coach/review.hpp"
#include "model/texts.hpp"

// The words of a reviewed choice in a language: when it was made ("Night 1, the attack"),
// the choice made and the best with their odds ("Lily 38% (35-41%)"), best empty where the
// choice was as good as the best, the verdict (", as good as the best" or "; the best was
// ..."), the mark's sign and word (empty for none), and the reason. Declined: chosen says so.
struct ChoiceWords {
    std::string when;
    std::string chosen;
    std::string best;
    std::string verdict;
    std::string sign;
    std::string mark;
    std::string reason;
};
ChoiceWords choice_words(const ReviewedChoice& c, const Texts& w);

// A chance in the one notation: "41% (38-44%)".
std::string chance_text(const Estimate& estimate);

// A whole game's review as text in a language: a heading; a line a choice with its
// verdict and mark, its reason, the coach's read of the village, and what happened after
// it with the odds before and after; how the game ended, its accuracy and what it means;
// what the choices cost and what luck moved; the odds as a graph with its legend and the
// nights and days; and the address of the same review in the page.
std::string review_text(const RecordGame& game, const GameReview& review, const Texts& w);

// The same as JSON lines, for tools: one a decision, then one for the game. The reasons
// are in the texts' language.
std::string review_json(const RecordGame& game, const GameReview& review, const Texts& w);

// A share 0..1 as JSON, with four decimals.
std::string json_share(double value);

// What happened after choice k of a reviewed game, for the page: {"told":T,"before":P,
// "after":P,"swing":B} (Shift-JIS), or null when nothing was shown before the next choice.
std::string then_json(const RecordGame& game, const GameReview& review, std::size_t k,
                      const Texts& w);

// The odds beside a game, for the page's cards (Shift-JIS strings): each legal choice's
// chance in the one notation and whether it is as good as the best, the best's facts, and
// the coach's read of each living seat whose role the wolves do not know:
//   {"declined":B,"best":S,"facts":T,"choices":[{"seat":S,"win":P,"low":P,"high":P,
//    "text":T,"good":B}...],"read":[{"seat":S,"role":T,"glyph":T,"percent":N}...]}
std::string odds_json(const PublicRecord& r, const Odds& odds, const Forecast& f, const Texts& w);

// Practice: a choice made again at a decision whose odds are known is found when it is
// as good as the best, or within the best's interval.
bool practice_found(const Odds& odds, int code);

// What practice says of the choice: found or not, the choice and the best with their
// odds, and the reason. A line each.
std::string practice_text(const PublicRecord& r, const Odds& odds, const Forecast& f, int code,
                          const Texts& w);

// A reviewed choice for the page, in its words (Shift-JIS strings):
//   {"when":T,"chosen":T,"best":T|null,"verdict":T,"sign":T,"mark":"inaccuracy"|"mistake"|
//    "blunder"|null,"markWord":T,"reason":T,"axis":T,"win":P,"declined":B}: axis names its
//    night or day under the graph (N1, D2; 1夜, 2日)
std::string choice_json(const ReviewedChoice& c, const Texts& w);
