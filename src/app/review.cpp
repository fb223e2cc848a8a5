#include "app/review.hpp"

#include "coach/review.hpp"
#include "coach/rollouts.hpp"

bool review_record(const Record& record, const Options& options,
                   const std::function<bool(const std::string&)>& print) {
    RolloutPool pool{};
    pool_start(pool, threads_to_use(options));
    bool printed = true;
    each_game(record.seed, record.keys, [&](const RecordGame& game) {
        if (!printed) return;
        const std::vector<ReviewedChoice> choices = review_game(game, &pool);
        printed = print(options.json ? review_json(game, choices)
                                     : review_text(game, choices, texts_of(options.language)));
    });
    pool_stop(pool);
    return printed;
}
