#include "model/story.hpp"

#include <cstdio>
#include <cstring>

#include "model/sjis.hpp"
#include "model/texts.hpp"

namespace {

constexpr int MEDIUM_FIRST_RESULT_DAY = 3;  // day 2's medium line is the claim alone

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

const char* name_of(const Game& game, int seat) {
    return is_seat(seat) ? game.players[seat].name : "";
}

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

void tell_day(const Game& game, const StoryDay& t, std::string& out) {
    const Texts& w = texts();
    char heading[64];
    std::snprintf(heading, sizeof heading, w.story_day, t.day);
    out += std::string(heading) + "\n";
    if (t.attacked == NONE) add_line(out, w.attack_failed);
    if (is_seat(t.attacked)) add_line(out, format(w.found_dead, name_of(game, t.attacked)));
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        const int role = t.claim[seat];
        if (role == NONE) continue;
        const char* glyph = role >= 0 && role < ROLE_COUNT ? w.glyphs[role] : w.no_glyph;
        std::string line = format(w.claim_line, name_of(game, seat), glyph);
        if (role == ROLE_MADMAN) line += format(w.madman_call, name_of(game, t.claim_target[seat]));
        if (t.claim_result[seat] != NONE) {
            line += format(w.verdict_line, name_of(game, t.claim_target[seat]));
            line += t.claim_result[seat] == VERDICT_BLACK ? w.black : w.white;
        }
        add_line(out, line);
    }
    if (!t.voted) return;
    int tally[SEAT_COUNT] = {};
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        if (!is_seat(t.vote[seat])) continue;
        add_line(out, format(w.story_vote, name_of(game, seat), name_of(game, t.vote[seat])));
        tally[t.vote[seat]] += 1;
    }
    std::string counts;
    for (int most = SEAT_COUNT; most > 0; --most) {
        for (int seat = 0; seat < SEAT_COUNT; ++seat) {
            if (tally[seat] != most) continue;
            counts += (counts.empty() ? "" : ", ") +
                      format_number(w.story_tally, name_of(game, seat), most);
        }
    }
    add_line(out, counts);
    if (is_seat(t.hanged)) add_line(out, format(w.was_hanged, name_of(game, t.hanged)));
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

std::string story_text(const Game& game) {
    const Story s = story_of(game);
    std::string out;
    for (int d = 2; d <= s.days; ++d) tell_day(game, s.day[d - 1], out);
    if (s.winner == NONE) return out;
    const Texts& w = texts();
    char won[128];
    std::snprintf(won, sizeof won, w.story_won[s.winner == WINNER_VILLAGE ? 0 : 1], s.days);
    out += std::string(won) + "\n";
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        const int role = s.role[seat];
        add_line(out, format(w.story_role, name_of(game, seat),
                             role >= 0 && role < ROLE_COUNT ? w.role_names[role] : ""));
    }
    return out;
}

namespace {

// A Shift-JIS text as a JSON string, character by character: a double-byte character
// passes whole (its trail byte may be 0x5C, the backslash of ASCII, as in ソ or 表), and
// only one-byte characters are escaped. Control bytes and a lead byte without its trail
// are dropped.
void json_string(std::string& out, const char* text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    const std::size_t length = std::strlen(text);
    out += '"';
    for (std::size_t i = 0; i < length;) {
        const std::size_t size = sjis::char_length(bytes + i, length - i);
        if (size == 2) {
            out.append(text + i, 2);
        } else if (size == 1 && (bytes[i] == '"' || bytes[i] == '\\')) {
            out += '\\';
            out += text[i];
        } else if (size == 1 && bytes[i] == '\n') {
            out += "\\n";
        } else if (size == 1 && bytes[i] >= 0x20 && bytes[i] != 0x7F &&
                   !sjis::is_lead_byte(bytes[i])) {
            out += text[i];
        }
        i += size == 0 ? 1 : size;
    }
    out += '"';
}

template <typename Each>
void json_array(std::string& out, int count, Each each) {
    out += '[';
    for (int k = 0; k < count; ++k) {
        if (k > 0) out += ',';
        each(k);
    }
    out += ']';
}

}  // namespace

std::string story_json(const Game& game) {
    const Story s = story_of(game);
    const Texts& w = texts();
    std::string out = "{\"days\":";
    json_array(out, s.days, [&](int k) {
        const StoryDay& t = s.day[k];
        out.append("{\"day\":").append(std::to_string(t.day));
        out.append(",\"attacked\":").append(std::to_string(t.attacked)).append(",\"claims\":");
        const char* separator = "[";
        for (int seat = 0; seat < SEAT_COUNT; ++seat) {
            if (t.claim[seat] == NONE) continue;
            out.append(separator).append("[").append(std::to_string(seat));
            for (int value : {t.claim[seat], t.claim_target[seat], t.claim_result[seat]}) {
                out.append(",").append(std::to_string(value));
            }
            out.append("]");
            separator = ",";
        }
        out.append(separator[0] == '[' ? "[]" : "]").append(",\"votes\":");
        if (t.voted) {
            json_array(out, SEAT_COUNT, [&](int seat) { out += std::to_string(t.vote[seat]); });
        } else {
            out += "null";
        }
        out += ",\"hanged\":" + std::to_string(t.hanged) + "}";
    });
    out += ",\"winner\":" + std::to_string(s.winner) + ",\"roles\":";
    json_array(out, SEAT_COUNT, [&](int seat) { out += std::to_string(s.role[seat]); });
    out += ",\"names\":";
    json_array(out, SEAT_COUNT, [&](int seat) { json_string(out, game.players[seat].name); });
    out += ",\"glyphs\":";
    json_array(out, ROLE_COUNT, [&](int role) { json_string(out, w.glyphs[role]); });
    out += ",\"roleNames\":";
    json_array(out, ROLE_COUNT, [&](int role) { json_string(out, w.role_names[role]); });
    out += ",\"black\":";
    json_string(out, w.black);
    out += ",\"white\":";
    json_string(out, w.white);
    out += ",\"story\":";
    json_string(out, story_text(game).c_str());
    return out + "}";
}
