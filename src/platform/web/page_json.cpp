#include "platform/web/page_json.hpp"

#include "draw/panels.hpp"
#include "draw/render.hpp"
#include "model/json.hpp"
#include "model/keys.hpp"
#include "model/story.hpp"
#include "model/texts.hpp"

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
        // A dawn that ended the game is told as the night before it.
        out += "{\"day\":" + std::to_string(t.dawn ? t.day - 1 : t.day) +
               (t.dawn ? ",\"night\":true" : ",\"night\":false") + ",\"heading\":";
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

std::string cards_json(const Game& g, int language) {
    const Texts& t = texts_of(language);
    std::string out;
    const auto role = [&](int code) {
        if (code >= 0 && code < ROLE_COUNT) {
            json_string(out, t.role_names[code]);
        } else {
            out += "null";
        }
    };
    json_array(out, SEAT_COUNT, [&](int seat) {
        const Player& p = g.players[seat];
        out += "{\"seat\":" + std::to_string(seat) + ",\"name\":";
        json_string(out, name_of(t, seat));
        out += ",\"claim\":";
        role(g.co_public[seat]);
        out += ",\"black\":" + std::to_string(g.black_count[seat]) +
               ",\"white\":" + std::to_string(g.white_count[seat]);
        out += p.alive == 1 ? ",\"alive\":true,\"died\":null" : ",\"alive\":false,\"died\":";
        if (p.alive != 1) {
            const bool hanged = p.hanged_day != NONE;
            out += "{\"day\":" + std::to_string(hanged ? p.hanged_day : p.attacked_day) +
                   ",\"hanged\":" + (hanged ? "true}" : "false}");
        }
        out += ",\"role\":";
        role(g.winner != NONE ? p.role : NONE);
        out += seat == g.cursor ? ",\"cursor\":true}" : ",\"cursor\":false}";
    });
    return out;
}

std::string layout_json() {
    const auto n = [](int value) { return std::to_string(value); };
    return ("{\"columns\":" + n(SCREEN_COLUMNS) + ",\"rows\":" + n(SCREEN_ROWS) +
            ",\"header\":[0,1],\"cards\":{\"rows\":[" + n(card_y(0)) + "," + n(card_y(5)) +
            "],\"height\":" + n(CARD_HEIGHT) + ",\"left\":" + n(card_x(0) - 1) + ",\"width\":" +
            n(card_x(1) - card_x(0)) + ",\"perRow\":5},\"panel\":{\"rows\":[" + n(PANEL_TOP) + "," +
            n(LOG_Y - 1) + "],\"split\":" + n(PANEL_SPLIT) + "},\"log\":" + n(LOG_Y) + "}");
}

std::string daily_json(std::int64_t unix_seconds) {
    const std::uint32_t seed = daily_seed(unix_seconds);
    constexpr std::int64_t JAPAN_OFFSET = 9 * 3600;
    const std::int64_t day = (static_cast<std::int64_t>(seed) + JAPAN_OFFSET) / 86400;
    // The civil date of a day number (Howard Hinnant's days_from_civil, inverted).
    const std::int64_t z = day + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t date = doy - (153 * mp + 2) / 5 + 1;
    const std::int64_t month = mp < 10 ? mp + 3 : mp - 9;
    return ("{\"seed\":" + std::to_string(seed) + ",\"day\":" + std::to_string(day) +
            ",\"month\":" + std::to_string(month) + ",\"date\":" + std::to_string(date) + "}");
}

std::string keys_json() {
    std::string out = "{";
    const struct {
        const char* name;
        char key;
    } keys[] = {{"up", KEY_UP},       {"left", KEY_LEFT},       {"down", KEY_DOWN},
                {"right", KEY_RIGHT}, {"choose", KEY_CHOOSE},   {"again", KEY_AGAIN},
                {"on", KEY_ON},       {"seer", KEY_CLAIM_SEER}, {"medium", KEY_CLAIM_MEDIUM},
                {"black", KEY_BLACK}, {"white", KEY_WHITE},     {"decline", KEY_ON}};
    for (const auto& k : keys) {
        out += std::string(out.size() > 1 ? "," : "") + "\"" + k.name + "\":\"" + k.key + "\"";
    }
    return out + "}";
}
