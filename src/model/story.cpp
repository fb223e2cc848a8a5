#include "model/story.hpp"

#include <cstdio>

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

const char* name_of(const Texts& w, int seat) { return is_seat(seat) ? w.names[seat] : ""; }

std::string format(const char* pattern, const char* a, const char* b = "") {
    char text[256];
    std::snprintf(text, sizeof text, pattern, a, b);
    return text;
}

std::string format_number(const char* pattern, const char* a, int n) {
    char text[256];
    std::snprintf(text, sizeof text, pattern, a, n);
    return text;
}

// A panel line as a line of the story: without the padding of its columns.
void add_line(std::string& out, std::string line) {
    const std::size_t first = line.find_first_not_of(' ');
    line.erase(0, first == std::string::npos ? line.size() : first);
    line.erase(line.find_last_not_of(' ') + 1);
    out += "  " + line + "\n";
}

void tell_day(const Texts& w, const StoryDay& t, std::string& out) {
    char heading[64];
    std::snprintf(heading, sizeof heading, w.story_day, t.day);
    out += std::string(heading) + "\n";
    if (t.attacked == NONE) add_line(out, w.attack_failed);
    if (is_seat(t.attacked)) add_line(out, format(w.found_dead, name_of(w, t.attacked)));
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        const int role = t.claim[seat];
        if (role == NONE) continue;
        std::string line = format(w.claim_line, name_of(w, seat), role_glyph(w, role));
        if (role == ROLE_MADMAN) line += format(w.madman_call, name_of(w, t.claim_target[seat]));
        if (t.claim_result[seat] != NONE) {
            line += format(w.verdict_line, name_of(w, t.claim_target[seat]));
            line += t.claim_result[seat] == VERDICT_BLACK ? w.black : w.white;
        }
        add_line(out, line);
    }
    if (!t.voted) return;
    int tally[SEAT_COUNT] = {};
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        if (!is_seat(t.vote[seat])) continue;
        add_line(out, format(w.story_vote, name_of(w, seat), name_of(w, t.vote[seat])));
        tally[t.vote[seat]] += 1;
    }
    std::string counts;
    for (int most = SEAT_COUNT; most > 0; --most) {
        for (int seat = 0; seat < SEAT_COUNT; ++seat) {
            if (tally[seat] != most) continue;
            counts +=
                (counts.empty() ? "" : ", ") + format_number(w.story_tally, name_of(w, seat), most);
        }
    }
    add_line(out, counts);
    if (is_seat(t.hanged)) add_line(out, format(w.was_hanged, name_of(w, t.hanged)));
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
    char won[128];
    std::snprintf(won, sizeof won, w.story_won[s.winner == WINNER_VILLAGE ? 0 : 1], s.days);
    out += std::string(won) + "\n";
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        const int role = s.role[seat];
        add_line(out, format(w.story_role, name_of(w, seat),
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
        out += "{\"day\":" + std::to_string(t.day) + ",\"foundDead\":";
        name_or_null(t.attacked);
        out += ",\"attackFailed\":";
        out += t.attacked == NONE ? "true" : "false";
        out += ",\"claims\":[";
        bool first = true;
        for (int seat = 0; seat < SEAT_COUNT; ++seat) {
            if (t.claim[seat] == NONE) continue;
            out += first ? "{\"name\":" : ",{\"name\":";
            first = false;
            json_string(out, w.names[seat]);
            out += ",\"glyph\":";
            json_string(out, role_glyph(w, t.claim[seat]));
            out += ",\"target\":";
            name_or_null(t.claim_target[seat]);
            out += ",\"verdict\":";
            if (t.claim_result[seat] == VERDICT_BLACK || t.claim_result[seat] == VERDICT_WHITE) {
                json_string(out, t.claim_result[seat] == VERDICT_BLACK ? w.black : w.white);
            } else {
                out += "null";
            }
            out += "}";
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
