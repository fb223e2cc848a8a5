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

void tell_day(const Texts& w, const StoryDay& t, std::string& out) {
    const ToldDay told = told_day(w, t);
    out += told.heading + "\n";
    for (const auto* part : {&told.morning, &told.votes, &told.evening}) {
        for (const std::string& line : *part) add_line(out, line);
    }
}

}  // namespace

ToldDay told_day(const Texts& w, const StoryDay& t) {
    ToldDay told;
    told.heading = t.dawn ? formatted(w.story_night, t.day - 1) : formatted(w.story_day, t.day);
    if (t.attacked == NONE) {
        told.morning.push_back(formatted(w.story_attack_failed, name_of(w, t.attack_target)));
    }
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

Story story_of(const Game& game) {
    Story s{};
    s.days = game.day < 1 ? 0 : game.day < DAY_SLOTS ? game.day : DAY_SLOTS - 1;
    for (int d = 1; d <= s.days; ++d) {
        StoryDay& t = s.day[d - 1];
        t.day = d;
        // Last night's attack came before this morning: it happened once the day is here.
        t.attacked = d >= 2 ? game.attacked_on[d - 1] : STORY_NOT_YET;
        t.attack_target = d >= 2 ? game.attacks[d - 1] : NONE;
        t.hanged = NONE;
        for (int seat = 0; seat < SEAT_COUNT; ++seat) {
            t.claim[seat] = t.claim_target[seat] = t.claim_result[seat] = NONE;
        }
        if (d >= 2) read_claims(game, t);
        read_votes(game, t);
    }
    s.winner = game.winner == WINNER_VILLAGE || game.winner == WINNER_WOLVES ? game.winner : NONE;
    s.at_dawn = s.winner != NONE && is_seat(game.day) && game.hanged_on[game.day] == NONE;
    if (s.at_dawn && s.days >= 1) s.day[s.days - 1].dawn = true;
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
