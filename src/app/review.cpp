#include "app/review.hpp"

#include "coach/review_text.hpp"
#include "coach/rollouts.hpp"

bool review_record(const Record& record, const Options& options,
                   const std::function<bool(const std::string&)>& print) {
    RolloutPool pool{};
    pool_start(pool, threads_to_use(options));
    bool printed = true;
    each_game(record.seed, record.keys, record.rules, [&](const RecordGame& game) {
        if (!printed) return;
        const GameReview review = review_game(game, &pool);
        const Texts& texts = texts_of(options.language);
        printed = print(options.json ? review_json(game, review, texts)
                                     : review_text(game, review, texts));
    });
    pool_stop(pool);
    return printed;
}
