#include "model/story.hpp"

#include <cstdio>
#include <vector>

#include "model/json.hpp"
#include "model/texts.hpp"

namespace {

// The claims of a morning, as its claim-results screen showed them: what each living
// claimant published of the night before, filed when that screen was left.
void read_claims(const Game& game, StoryDay& t) {
    const int night = t.day - 1;
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        const NightRecord& filed = game.claims[seat][night];
        if (filed.target == NONE && filed.result == NONE) continue;
        const int role = game.co_public[seat];
        t.claim[seat] = role;
        if (role == ROLE_SEER || role == ROLE_MADMAN) t.claim_target[seat] = filed.target;
        if (role == ROLE_SEER) t.claim_result[seat] = filed.result;
        if (role == ROLE_MEDIUM && t.day >= MEDIUM_FIRST_RESULT_DAY) {
            t.claim_target[seat] = game.hanged_on[night];  // whom the medium judged
            t.claim_result[seat] = filed.result;
        }
    }
}

void read_votes(const Game& game, StoryDay& t) {
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        t.vote[seat] = game.votes[seat][t.day];
        if (t.vote[seat] != NONE) t.voted = true;
    }
    if (!t.voted) {
        for (int& vote : t.vote) vote = NONE;
        return;
    }
    t.hanged = game.hanged_on[t.day];  // shown on the screen that the filing left
}

// A panel line as a line of the story: without the padding of its columns.
std::string trimmed(std::string line) {
    const std::size_t first = line.find_first_not_of(' ');
    line.erase(0, first == std::string::npos ? line.size() : first);
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

void add_line(std::string& out, const std::string& line) { out += "  " + trimmed(line) + "\n"; }

// A day as the story tells it: its heading; what the morning showed (the attack, the
// claims); each vote; then the tally and the hanging.
struct ToldDay {
    std::string heading;
    std::vector<std::string> morning;
    std::vector<std::string> votes;
    std::vector<std::string> evening;
};

ToldDay told_day(const Texts& w, const StoryDay& t) {
    ToldDay told;
    told.heading = formatted(w.story_day, t.day);
    if (t.attacked == NONE) told.morning.emplace_back(w.attack_failed);
    if (is_seat(t.attacked))
        told.morning.push_back(formatted(w.found_dead, name_of(w, t.attacked)));
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        const int role = t.claim[seat];
        if (role == NONE) continue;
        std::string line = formatted(w.claim_line, name_of(w, seat), role_glyph(w, role));
        if (role == ROLE_MADMAN) line += formatted(w.madman_call, name_of(w, t.claim_target[seat]));
        if (t.claim_result[seat] != NONE) {
            line += formatted(w.verdict_line, name_of(w, t.claim_target[seat]));
            line += t.claim_result[seat] == VERDICT_BLACK ? w.black : w.white;
        }
        told.morning.push_back(trimmed(line));
    }
    if (!t.voted) return told;
    int tally[SEAT_COUNT] = {};
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        if (!is_seat(t.vote[seat])) continue;
        told.votes.push_back(formatted(w.story_vote, name_of(w, seat), name_of(w, t.vote[seat])));
        tally[t.vote[seat]] += 1;
    }
    std::string counts;
    for (int most = SEAT_COUNT; most > 0; --most) {
        for (int seat = 0; seat < SEAT_COUNT; ++seat) {
            if (tally[seat] != most) continue;
            const char* tally_format = most == 1 ? w.story_tally_one : w.story_tally;
            counts +=
                (counts.empty() ? "" : ", ") + formatted(tally_format, name_of(w, seat), most);
        }
    }
    told.evening.push_back(counts);
    if (is_seat(t.hanged)) told.evening.push_back(formatted(w.was_hanged, name_of(w, t.hanged)));
    return told;
}

void tell_day(const Texts& w, const StoryDay& t, std::string& out) {
    const ToldDay told = told_day(w, t);
    out += told.heading + "\n";
    for (const auto* part : {&told.morning, &told.votes, &told.evening}) {
        for (const std::string& line : *part) add_line(out, line);
    }
}

}  // namespace

Story story_of(const Game& game) {
    Story s{};
    s.days = game.day < 1 ? 0 : game.day < DAY_SLOTS ? game.day : DAY_SLOTS - 1;
    for (int d = 1; d <= s.days; ++d) {
        StoryDay& t = s.day[d - 1];
        t.day = d;
        // Last night's attack came before this morning: it happened once the day is here.
        t.attacked = d >= 2 ? game.attacked_on[d - 1] : STORY_NOT_YET;
        t.hanged = NONE;
        for (int seat = 0; seat < SEAT_COUNT; ++seat) {
            t.claim[seat] = t.claim_target[seat] = t.claim_result[seat] = NONE;
        }
        if (d >= 2) read_claims(game, t);
        read_votes(game, t);
    }
    s.winner = game.winner == WINNER_VILLAGE || game.winner == WINNER_WOLVES ? game.winner : NONE;
    s.at_dawn = s.winner != NONE && is_seat(game.day) && game.hanged_on[game.day] == NONE;
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        s.role[seat] = s.winner != NONE ? game.players[seat].role : NONE;
    }
    return s;
}

std::string story_text(const Game& game, int language) {
    const Story s = story_of(game);
    const Texts& w = texts_of(language);
    std::string out;
    for (int d = 2; d <= s.days; ++d) tell_day(w, s.day[d - 1], out);
    if (s.winner == NONE) return out;
    out += won_text(w, s.winner, s.days, s.at_dawn) + "\n";
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        const int role = s.role[seat];
        add_line(out, formatted(w.story_role, name_of(w, seat),
                                role >= 0 && role < ROLE_COUNT ? w.role_names[role] : ""));
    }
    return out;
}

std::string story_json(const Game& game, int language) {
    const Story s = story_of(game);
    const Texts& w = texts_of(language);
    std::string out;
    const auto name_or_null = [&](int seat) {
        if (is_seat(seat)) {
            json_string(out, w.names[seat]);
        } else {
            out += "null";
        }
    };
    out += "{\"days\":";
    json_array(out, s.days, [&](int k) {
        const StoryDay& t = s.day[k];
        const ToldDay told = told_day(w, t);
        out += "{\"day\":" + std::to_string(t.day) + ",\"heading\":";
        json_string(out, told.heading.c_str());
        out += ",\"told\":[";
        bool first = true;
        for (const auto* part : {&told.morning, &told.evening}) {
            for (const std::string& line : *part) {
                if (!first) out += ",";
                first = false;
                json_string(out, line.c_str());
            }
        }
        out += "],\"votes\":";
        if (t.voted) {
            json_array(out, SEAT_COUNT, [&](int seat) { name_or_null(t.vote[seat]); });
        } else {
            out += "null";
        }
        out += ",\"hanged\":" + std::to_string(t.hanged) + "}";
    });
    out += ",\"winner\":";
    out += s.winner == WINNER_WOLVES    ? "\"wolves\""
           : s.winner == WINNER_VILLAGE ? "\"village\""
                                        : "null";
    out += ",\"won\":";
    if (s.winner != NONE) {
        json_string(out, won_text(w, s.winner, s.days, s.at_dawn).c_str());
    } else {
        out += "null";
    }
    out += ",\"lastDay\":" + std::to_string(s.days);
    out += ",\"names\":";
    json_array(out, SEAT_COUNT, [&](int seat) { json_string(out, w.names[seat]); });
    out += ",\"roles\":";
    json_array(out, SEAT_COUNT, [&](int seat) {
        if (s.role[seat] >= 0 && s.role[seat] < ROLE_COUNT) {
            json_string(out, w.role_names[s.role[seat]]);
        } else {
            out += "null";
        }
    });
    return out + "}";
}
