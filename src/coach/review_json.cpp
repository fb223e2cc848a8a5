// The review as JSON lines, for tools (the fields are described in the manual).
#include <cmath>

#include "coach/reason.hpp"
#include "coach/review_text.hpp"
#include "engine/morning.hpp"
#include "model/json.hpp"
#include "model/keys.hpp"

namespace {

const char* const MARK_NAMES[] = {"inaccuracy", "mistake", "blunder"};
const char* const EVENT_NAMES[] = {"killed", "guarded", "claim",  "verdict",
                                   "medium", "call",    "hanged", "tie"};
// The roles the wolves do not know, as tools name them, by role code.
const char* const ROLE_KEYS[] = {"wolf", "madman", "seer", "medium", "bodyguard", "villager"};

// A morning's answer as tools name it, by its key.
const char* answer_name(int key) {
    switch (key) {
    case KEY_CLAIM_SEER: return "seer";
    case KEY_CLAIM_MEDIUM: return "medium";
    case KEY_BLACK: return "wolf";
    case KEY_WHITE: return "human";
    default: return "none";
    }
}

// The kind of a decision, as tools name it.
const char* choice_name(const PublicRecord& r) {
    if (r.phase == PHASE_ATTACK_SELECT) return "attack";
    if (r.phase == PHASE_VOTE_SELECT) return "vote";
    switch (r.question) {
    case QUESTION_CLAIM: return "claim";
    case QUESTION_SEER_VERDICT: return "seer verdict";
    default: return "medium verdict";
    }
}

std::string share(double value) { return json_share(value); }

// {"seer": p, "medium": p, "bodyguard": p, "madman": p, "villager": p}
std::string roles_json(const Forecast& f, int seat) {
    std::string out = "{";
    for (int role : {ROLE_SEER, ROLE_MEDIUM, ROLE_HUNTER, ROLE_MADMAN, ROLE_VILLAGER}) {
        out += std::string(out.size() > 1 ? ", " : "") + "\"" + ROLE_KEYS[role] +
               "\": " + share(f.role[seat][role]);
    }
    return out + "}";
}

std::string option_json(const ReviewedChoice& c, int k) {
    const ChoiceOdds& o = c.odds.choice[k];
    const Estimate e = estimate(o.wins, o.played);
    std::string out = "{\"seat\": " + std::to_string(o.seat);
    if (c.decision.record.phase == PHASE_FAKE_CLAIM)
        out += std::string(", \"answer\": \"") + answer_name(o.key) + "\"";
    out += ", \"win\": " + share(e.win) + ", \"low\": " + share(e.low) +
           ", \"high\": " + share(e.high);
    if (c.decision.record.phase == PHASE_ATTACK_SELECT) {
        out += ", \"guarded\": " + share(c.forecast.guarded[o.seat]) +
               ", \"roles\": " + roles_json(c.forecast, o.seat);
    } else {
        out +=
            ", \"hanged\": " + share(o.played > 0 ? static_cast<double>(o.hanged) / o.played : 0.0);
    }
    return out + "}";
}

std::string verdict_json(const ReviewedChoice& c) {
    if (c.chosen == NONE) return "\"no odds\"";
    if (c.chosen == c.odds.best) return "\"best\"";
    return c.as_good ? "\"as good\"" : "\"worse\"";
}

// What the village will do (a vote: the votes each living seat can expect) and the coach's
// read of it (each seat whose role the wolves do not know).
std::string village_json(const ReviewedChoice& c) {
    const PublicRecord& r = c.decision.record;
    std::string out;
    if (r.phase == PHASE_VOTE_SELECT) {
        out += ", \"forecast\": [";
        bool first = true;
        for (int seat = 0; seat < SEAT_COUNT; ++seat) {
            if (r.alive[seat] != 1) continue;
            out += std::string(first ? "" : ", ") + "{\"seat\": " + std::to_string(seat) +
                   ", \"votes\": " + share(c.forecast.votes[seat]) + "}";
            first = false;
        }
        out += "]";
    }
    out += ", \"read\": [";
    bool first = true;
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        if (!role_unknown(r, seat) || r.alive[seat] != 1) continue;
        out += std::string(first ? "" : ", ") + "{\"seat\": " + std::to_string(seat) +
               ", \"roles\": " + roles_json(c.forecast, seat) + "}";
        first = false;
    }
    return out + "]";
}

std::string decision_json(int game, const ReviewedChoice& c, const Texts& w) {
    const PublicRecord& r = c.decision.record;
    const bool morning = r.phase == PHASE_FAKE_CLAIM;
    std::string out = "{\"game\": " + std::to_string(game) + ", \"day\": " + std::to_string(r.day) +
                      ", \"choice\": \"" + choice_name(r) + "\", ";
    if (r.phase != PHASE_ATTACK_SELECT)
        out += "\"wolf\": " + std::to_string(morning ? r.asked : voting_wolf(r)) + ", ";
    out += "\"chosen\": " + std::to_string(code_seat(c.decision.chosen));
    if (morning)
        out += std::string(", \"answer\": \"") + answer_name(code_key(c.decision.chosen)) + "\"";
    out += ", \"options\": [";
    for (int k = 0; k < c.odds.count; ++k) out += (k > 0 ? ", " : "") + option_json(c, k);
    out += std::string("], \"mark\": ") +
           (c.mark < 0 ? "null" : std::string("\"") + MARK_NAMES[c.mark] + "\"") +
           ", \"verdict\": " + verdict_json(c);
    if (c.chosen == NONE) return out + "}\n";
    const Estimate loss = loss_of(c.odds.choice[c.chosen]);
    out += ", \"loss\": {\"value\": " + share(loss.win) + ", \"low\": " + share(loss.low) +
           ", \"high\": " + share(loss.high) + "}, \"reason\": ";
    json_string(out, choice_words(c, w).reason.c_str());
    return out + village_json(c) + "}\n";
}

std::string event_json(const Event& e, const GameReview& review) {
    std::string out = "{\"day\": " + std::to_string(e.day) + ", \"kind\": \"" +
                      EVENT_NAMES[e.kind] + "\", \"seats\": [" + std::to_string(e.seat);
    if (e.other != NONE) out += ", " + std::to_string(e.other);
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        if (seat != e.seat && ((e.tied >> seat) & 1u) != 0) out += ", " + std::to_string(seat);
    }
    out += "]";
    if (e.kind == EVENT_CLAIM && e.value >= 0 && e.value < 6) {
        out += std::string(", \"role\": \"") + ROLE_KEYS[e.value] + "\"";
    }
    if (e.kind == EVENT_VERDICT || e.kind == EVENT_MEDIUM) {
        out +=
            std::string(", \"verdict\": \"") + (e.value == VERDICT_BLACK ? "wolf" : "human") + "\"";
    }
    if (e.kind == EVENT_HANGED || e.kind == EVENT_TIE) {
        out += ", \"votes\": " + std::to_string(e.value);
    }
    const auto k = static_cast<std::size_t>(e.after);
    if (k >= review.choices.size() || review.choices[k].chosen == NONE) {
        return out + ", \"before\": null, \"after\": null, \"swing\": false}";
    }
    const double before = chosen_win(review.choices[k]);
    const double after = review.after[k];
    return out + ", \"before\": " + share(before) + ", \"after\": " + share(after) +
           ", \"swing\": " + (std::fabs(after - before) >= SWING ? "true" : "false") + "}";
}

}  // namespace

std::string review_json(const RecordGame& game, const GameReview& review, const Texts& w) {
    std::string out;
    for (const ReviewedChoice& c : review.choices) out += decision_json(game.number, c, w);
    const char* winner = game.winner == WINNER_WOLVES    ? "\"wolves\""
                         : game.winner == WINNER_VILLAGE ? "\"village\""
                                                         : "null";
    // A dawn win is told as the night before it: the morning after never came.
    const bool night = game.at_dawn && game.winner == WINNER_WOLVES;
    out += "{\"game\": " + std::to_string(game.number) + ", \"winner\": " + winner +
           ", \"day\": " + std::to_string(night ? game.day - 1 : game.day) +
           ", \"night\": " + (night ? "true" : "false") +
           ", \"accuracy\": " + std::to_string(accuracy_of(review.choices)) +
           ", \"choices_cost\": " + share(review.cost) + ", \"luck\": " + share(review.luck) +
           ", \"events\": [";
    for (std::size_t k = 0; k < game.events.size(); ++k)
        out += (k > 0 ? ", " : "") + event_json(game.events[k], review);
    return out + "]}\n";
}
