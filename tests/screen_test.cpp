// The main screen as the player sees it: cards, colours, glyphs, cursor, panels, read
// straight from the screen of cells.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "coach/review_text.hpp"
#include "draw/panels.hpp"
#include "model/sjis.hpp"
#include "model/texts.hpp"
#include "test_support.hpp"

namespace {

constexpr int ROLES[SEAT_COUNT] = {ROLE_VILLAGER, ROLE_WOLF,    ROLE_SEER,   ROLE_VILLAGER,
                                   ROLE_WOLF,     ROLE_HUNTER,  ROLE_MEDIUM, ROLE_MADMAN,
                                   ROLE_VILLAGER, ROLE_VILLAGER};

TestGame shown_game(int phase, int day) {
    TestGame t = new_game_of(5);
    deal(*t.game, ROLES);
    t.game->phase = phase;
    t.game->day = day;
    return t;
}

std::string text_at(const TestGame& g, int x, int y, std::size_t length) {
    return row_text(g, y).substr(static_cast<std::size_t>(x), length);
}

// The text at (x, y) is expected, byte for byte.
void expect_text(const TestGame& g, int x, int y, const std::string& expected) {
    EXPECT_EQ(text_at(g, x, y, expected.size()), expected) << "at " << x << "," << y;
}

int attr_at(const TestGame& g, int x, int y) { return g.screen->cells[y][x].attr; }

// Every cell of a card, all fourteen columns by six rows, has this colour.
void expect_card_colour(const TestGame& g, int seat, int attr) {
    for (int dy = 0; dy < 6; ++dy) {
        for (int dx = 0; dx < 14; ++dx) {
            if (dy == 0 && dx == 1) continue;  // the gap between seat number and border
            EXPECT_EQ(attr_at(g, card_x(seat) + dx, card_y(seat) + dy), attr)
                << "seat " << seat << " at +" << dx << ",+" << dy;
        }
    }
}

TEST(Screen, AWholeCardWithItsBordersTextsAndColour) {
    TestGame t = shown_game(PHASE_VOTE_SELECT, 3);
    Game& g = *t.game;
    g.co_public[2] = ROLE_SEER;
    g.black_count[2] = 1;
    g.white_count[2] = 12;
    draw(t);
    const int x = card_x(2);
    EXPECT_EQ(x, 32);
    EXPECT_EQ(text_at(t, x, 2, 14), std::string("2 ") + "─────┐"_sj);
    EXPECT_EQ(text_at(t, x, 3, 14), std::string("│"_sj) + "  すずらん"_sj + "│"_sj);
    EXPECT_EQ(text_at(t, x, 4, 14), std::string("│CO:"_sj) + "     占"_sj + "│"_sj);
    EXPECT_EQ(text_at(t, x, 5, 14), std::string("│黒 1  白12│"_sj));
    EXPECT_EQ(text_at(t, x, 6, 14), std::string("│"_sj) + "          " + "│"_sj);
    EXPECT_EQ(text_at(t, x, 7, 14), std::string("└─────┘"_sj));
    expect_card_colour(t, 2, ATTR_BRIGHT_CYAN);
    EXPECT_EQ(row_text(t, 1), std::string("3日朝です。投票先を選んでください。JKIL"_sj) +
                                  std::string(76 - 39, ' '));
}

TEST(Screen, ColoursByRoleClaimAndDeath) {
    TestGame t = shown_game(PHASE_VOTE_SELECT, 3);
    Game& g = *t.game;
    g.co_public[7] = ROLE_MADMAN;
    g.co_public[6] = ROLE_MEDIUM;
    g.co_public[3] = ROLE_SEER;
    kill_seat(g, 3);  // a dead claimer: grey, claim still shown
    kill_seat(g, 4);  // a dead wolf: grey, not red
    draw(t);
    expect_card_colour(t, 1, ATTR_BRIGHT_RED);
    expect_card_colour(t, 4, ATTR_GREY);
    expect_card_colour(t, 7, ATTR_BRIGHT_MAGENTA);
    expect_card_colour(t, 6, ATTR_BRIGHT_CYAN);
    expect_card_colour(t, 3, ATTR_GREY);
    expect_card_colour(t, 0, ATTR_BRIGHT_WHITE);
    EXPECT_EQ(text_at(t, card_x(3), 4, 14), std::string("│CO:"_sj) + "     占"_sj + "│"_sj);
    EXPECT_EQ(text_at(t, card_x(3), 6, 14), std::string("│ 3日  襲撃│"_sj));
    g.players[4].attacked_day = NONE;
    g.players[4].hanged_day = 2;
    draw(t);
    EXPECT_EQ(text_at(t, card_x(4), 6, 14), std::string("│ 2日  吊り│"_sj));
    EXPECT_EQ(row_text(t, 0).substr(0, 42),
              std::string("人狼は【 カモミール 】【 ひいらぎ 】"_sj) + "      ");
}

TEST(Screen, BeforeAnyClaimEveryCardShowsAQuestionMarkAndNoVerdicts) {
    TestGame t = make_game(99);
    draw(t);
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        EXPECT_EQ(text_at(t, card_x(seat), card_y(seat) + 2, 14),
                  std::string("│CO:"_sj) + "     ？"_sj + "│"_sj);
        EXPECT_EQ(text_at(t, card_x(seat), card_y(seat) + 3, 14), std::string("│黒 0  白 0│"_sj));
    }
    EXPECT_EQ(attr_at(t, 1, 2), ATTR_BRIGHT_GREEN);  // the cursor starts on seat 0
    EXPECT_EQ(text_at(t, 1, 2, 1), ">");
}

TEST(Screen, AfterAWinEveryCardRevealsItsRoleOverTheTopBorder) {
    TestGame t = shown_game(PHASE_WOLVES_WON, 5);
    Game& g = *t.game;
    g.winner = WINNER_WOLVES;
    kill_seat(g, 2);
    draw(t);
    const char* glyphs[] = {"村"_sj, "狼"_sj, "占"_sj, "村"_sj, "狼"_sj,
                            "狩"_sj, "霊"_sj, "狂"_sj, "村"_sj, "村"_sj};
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        const int x = card_x(seat);
        const int y = card_y(seat);
        EXPECT_EQ(text_at(t, x + 2, y, 12), std::string("────"_sj) + glyphs[seat] + "┐"_sj);
        const int colour = seat == 2                ? ATTR_GREY
                           : seat == 1 || seat == 4 ? ATTR_BRIGHT_RED
                                                    : ATTR_BRIGHT_WHITE;
        EXPECT_EQ(attr_at(t, x + 10, y), colour);
    }
    EXPECT_EQ(row_text(t, 1).substr(0, 32), "人狼の勝利です! Press R to Retry"_sj);

    TestGame v = shown_game(PHASE_VILLAGE_WON, 5);
    v.game->winner = WINNER_VILLAGE;
    draw(v);
    EXPECT_EQ(row_text(v, 1), "村人の勝利です! Press R to Retry"_sj + std::string(44, ' '));
}

TEST(Screen, TheCursorMarkStandsLeftOfTheCardOnEveryScreen) {
    for (int phase : {PHASE_ATTACK_SELECT, PHASE_FAKE_CLAIM, PHASE_VOTE_SELECT, PHASE_NIGHT_AI}) {
        TestGame t = shown_game(phase, 2);
        t.game->cursor = 7;
        draw(t);
        EXPECT_EQ(text_at(t, 31, 9, 1), ">");
        EXPECT_EQ(attr_at(t, 31, 9), ATTR_BRIGHT_GREEN);
        int marks = 0;
        for (int y = 0; y < SCREEN_ROWS; ++y) {
            for (char c : row_text(t, y)) marks += c == '>';
        }
        EXPECT_EQ(marks, 1);
    }
}

TEST(Panels, ClaimLinesStandInTheRowOfTheirSeat) {
    TestGame t = shown_game(PHASE_PUBLISH_CLAIMS, 4);
    Game& g = *t.game;
    g.players[2].co_claim = ROLE_SEER;
    g.players[2].night[3] = {3, ROLE_SEER, 4, VERDICT_BLACK};
    g.players[6].co_claim = ROLE_MEDIUM;
    g.players[6].night[3] = {3, ROLE_MEDIUM, 0, VERDICT_WHITE};
    g.players[7].co_claim = ROLE_MADMAN;
    g.players[7].night[3] = {NONE, ROLE_MADMAN, 3, NONE};
    kill_seat(g, 3);  // called for, then killed in the night: his name still shows
    g.phase = PHASE_PUBLISH_CLAIMS;
    update(g);
    draw(t);
    EXPECT_EQ(row_text(t, 1), "4日朝です。CO結果"_sj + std::string(59, ' '));
    expect_text(t, 0, 17, std::string("  すずらん 占CO ひいらぎ  黒"_sj) + "  ");
    expect_text(t, 40, 16, std::string("    なずな 霊CO ミモザ  白"_sj) + " ");
    expect_text(t, 40, 17, "ラベンダー 狂CO たんぽぽ  死ね"_sj);
    EXPECT_EQ(g.co_public[2], ROLE_SEER);
    EXPECT_EQ(g.co_public[6], ROLE_MEDIUM);
    EXPECT_EQ(g.co_public[7], ROLE_MADMAN);
    EXPECT_EQ(g.black_count[4], 0);  // the counts come with the next key
    // The cards of this very screen still show the claim colours and glyphs.
    expect_card_colour(t, 2, ATTR_BRIGHT_CYAN);

    // On day 2 the medium's line is the claim alone; a claimant dead in the night, its
    // claim published on an earlier morning, gets no line.
    TestGame u = shown_game(PHASE_CLAIM_RESULTS, 2);
    u.game->players[6].co_claim = u.game->co_public[6] = ROLE_MEDIUM;
    u.game->players[6].night[1] = {1, ROLE_MEDIUM, NONE, VERDICT_WHITE};
    u.game->players[2].co_claim = u.game->co_public[2] = ROLE_SEER;
    kill_seat(*u.game, 2);
    draw(u);
    EXPECT_EQ(row_text(u, 16).substr(40),
              std::string("    なずな 霊CO "_sj) + std::string(20, ' '));
    EXPECT_EQ(row_text(u, 17), std::string(76, ' '));
}

// A wolf's lie and the true seer's claim, the same claim on the same seat, draw the same
// card rows of claim and counts and the same claim line, byte for byte and colour for
// colour, on the claims' screen and after its key; only the wolf's own card keeps his
// colour.
TEST(Panels, AFakeClaimDrawsTheCellsOfATrueOne) {
    TestGame truth = shown_game(PHASE_PUBLISH_CLAIMS, 3);
    truth.game->players[2].co_claim = ROLE_SEER;
    truth.game->players[2].night[2] = {2, ROLE_SEER, 5, VERDICT_BLACK};
    update(*truth.game);

    int roles[SEAT_COUNT];
    std::copy(std::begin(ROLES), std::end(ROLES), roles);
    std::swap(roles[1], roles[2]);  // seat 2 a wolf, seat 1 the seer (who never claimed)
    TestGame lie = shown_game(PHASE_FAKE_CLAIM, 3);
    deal(*lie.game, roles);
    lie.game->rules = RULES_BLUFF;
    for (char key : {'S', 'K', 'b', 'x'}) play(lie, key);  // the cursor from 0 down to 5
    ASSERT_EQ(lie.game->phase, PHASE_CLAIM_RESULTS);
    for (int shown = 0; shown < 2; ++shown) {
        draw(truth);
        draw(lie);
        const int x = card_x(2);
        for (int y : {card_y(2) + 2, card_y(2) + 3}) {
            EXPECT_EQ(text_at(truth, x + 1, y, 12), text_at(lie, x + 1, y, 12)) << y;
        }
        for (int y = 15; y < 20; ++y) {
            EXPECT_EQ(row_text(truth, y), row_text(lie, y)) << y;
            for (int col = 0; col < SCREEN_COLUMNS; ++col)
                EXPECT_EQ(attr_at(truth, col, y), attr_at(lie, col, y)) << col << "," << y;
        }
        if (shown == 0)
            expect_text(lie, 0, 17, std::string("  すずらん 占CO ききょう  黒"_sj) + "  ");
        play(truth, 'x');
        play(lie, 'x');
    }
    EXPECT_EQ(lie.game->black_count[5], 1);
    EXPECT_EQ(lie.game->claims[2][2].target, 5);
}

TEST(Panels, TheVoteScreenShowsTheSeatAliveAndTheNextScreenShowsItHanged) {
    TestGame t = new_game_of(3);
    Game& g = *t.game;
    deal(g, ROLES);
    g.phase = PHASE_VOTE_RESULTS;
    g.day = 2;
    kill_seat(g, 0);
    push_log(g, LOG_FOUND_DEAD, 0);
    for (int seat = 1; seat < SEAT_COUNT; ++seat) g.players[seat].vote[2] = seat == 8 ? 9 : 8;
    draw(t);
    draw(t);  // drawing only draws: again, and nothing changes
    expect_text(t, 5, 18, "  たんぽぽ >     よもぎ"_sj);
    expect_text(t, 45, 15, "  ききょう >     よもぎ"_sj);
    expect_text(t, 45, 18, "    よもぎ >     セージ"_sj);
    EXPECT_EQ(row_text(t, 15).substr(0, 5 + 10), "               ");  // seat 0 is dead
    EXPECT_EQ(text_at(t, card_x(8), card_y(8) + 4, 14),
              std::string("│"_sj) + "          " + "│"_sj);
    expect_text(t, 2, 23, "ミモザの死体が発見された"_sj);
    EXPECT_EQ(g.hanged_on[2], NONE);  // the key of this screen hangs

    play(t, 'x');  // the hanging, the votes filed, the victory check: the screen of the hanging
    EXPECT_EQ(g.phase, PHASE_NIGHT_AI);
    EXPECT_EQ(g.hanged_on[2], 8);
    EXPECT_EQ(log_line(g, 1), "ミモザの死体が発見された"_sj);
    int hanged = 0;
    for (const Player& p : g.players) hanged += p.hanged_day != NONE;
    EXPECT_EQ(hanged, 1);
    EXPECT_EQ(text_at(t, card_x(8), card_y(8) + 4, 14), std::string("│ 2日  吊り│"_sj));
    expect_card_colour(t, 8, ATTR_GREY);
    expect_text(t, 2, 23, "よもぎが吊るされた"_sj);
    EXPECT_EQ(row_text(t, 1), std::string(76, ' '));  // no prompt
}

}  // namespace

namespace {

std::string formatted(const char* format, auto... values) {
    char text[256];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

// Every format of both tables, filled with the longest value that can fill it (by length,
// in bytes: a byte is a column), fits its field: a card's rows are 14 columns, names 10,
// glyphs 2; the header, a prompt and the log line fit the screen's row; a panel line its
// half.
TEST(Languages, EveryTextFitsItsField) {
    const auto longest = [](std::initializer_list<std::string> texts) {
        std::string most;
        for (const std::string& text : texts) {
            if (text.size() > most.size()) most = text;
        }
        return most;
    };
    constexpr int MOST_DAYS = DAY_SLOTS - 1;      // day 9: every day from day 2 hangs a seat
    constexpr int MOST_VERDICTS = DAY_SLOTS - 1;  // one a morning, at most
    for (int language : {LANGUAGE_JAPANESE, LANGUAGE_ENGLISH}) {
        const Texts& t = texts_of(language);
        const std::string in = language == LANGUAGE_ENGLISH ? "English: " : "Japanese: ";
        std::string name;
        for (const char* n : t.names) {
            EXPECT_LE(std::strlen(n), 10u) << in << n;
            EXPECT_EQ(formatted(t.card_name, n).size(), 14u) << in << n;
            if (std::strlen(n) > name.size()) name = n;
        }
        const char* glyphs[ROLE_COUNT + 1] = {t.no_glyph};
        for (int role = 0; role < ROLE_COUNT; ++role) glyphs[role + 1] = t.glyphs[role];
        for (const char* glyph : glyphs) {
            EXPECT_EQ(std::strlen(glyph), 2u) << in << glyph;
            EXPECT_EQ(formatted(t.card_claim, glyph).size(), 14u) << in << glyph;
            const std::string claim = formatted(t.claim_line, name.c_str(), glyph);
            const std::string result =
                longest({formatted(t.madman_call, name.c_str()),
                         formatted(t.verdict_line, name.c_str()) + longest({t.black, t.white})});
            EXPECT_LE((claim + result).size(), 36u) << in << claim + result;
        }
        for (int black = 0; black <= MOST_VERDICTS; ++black) {
            for (int white = 0; white <= MOST_VERDICTS; ++white) {
                EXPECT_EQ(formatted(t.card_counts, black, white).size(), 14u)
                    << in << black << white;
            }
        }
        EXPECT_EQ(formatted(t.card_blank, "").size(), 14u) << in;
        for (int day = 1; day <= MOST_DAYS; ++day) {
            EXPECT_EQ(formatted(t.card_killed, day).size(), 14u) << in << day;
            EXPECT_EQ(formatted(t.card_hanged, day).size(), 14u) << in << day;
            for (const char* prompt : t.prompts) {
                if (prompt == nullptr) continue;
                std::string shown = formatted(prompt, day, name.c_str());
                if (!shown.empty() && shown.back() == '\n') shown.pop_back();
                EXPECT_LE(shown.size(), 76u) << in << shown;
            }
        }
        EXPECT_LE(std::strlen(t.wolves) + 2 * formatted(t.wolf, name.c_str()).size(), 76u) << in;
        for (const char* log :
             {t.found_dead, t.was_hanged, t.attack_failed}) {  // row 23 from column 2
            EXPECT_LE(formatted(log, name.c_str()).size(), 74u) << in << log;
        }
        // A vote line from column 5 of its half: the right half ends at the screen's edge.
        EXPECT_LE(formatted(t.vote_line, name.c_str(), name.c_str()).size(), 76u - 45u) << in;
        // The coach's odds in a panel half, and the best's facts on row 21 from column 2.
        const std::string widest = chance_text({1.0, 1.0, 1.0});  // "100% (100-100%)"
        EXPECT_LE((formatted(t.odds_line, name.c_str(), widest.c_str()) + t.odds_best).size(), 36u)
            << in;
        std::string role;
        for (const char* r : t.role_names) role = std::strlen(r) > role.size() ? r : role;
        EXPECT_LE(formatted(t.facts_attack, name.c_str(), role.c_str(), 100, 100).size(), 74u)
            << in;
        EXPECT_LE(formatted(t.reason_votes_one, name.c_str(), 9, 9, 100).size(), 74u) << in;
        // The morning of the village with lies: its questions, the coach's lines, the facts.
        for (int day = 2; day <= MOST_DAYS; ++day) {
            for (const char* prompt : t.bluff_prompts) {
                if (prompt == nullptr) continue;
                std::string shown = formatted(prompt, day, name.c_str(), name.c_str());
                if (!shown.empty() && shown.back() == '\n') shown.pop_back();
                EXPECT_LE(shown.size(), 76u) << in << shown;
            }
        }
        std::vector<std::string> labels(std::begin(t.claim_choices), std::end(t.claim_choices));
        for (const char* verdict : t.verdict_words) {
            labels.emplace_back(verdict);
            const std::string named = formatted(t.verdict_choice, name.c_str(), verdict);
            EXPECT_LE(formatted(t.facts_morning, named.c_str(), name.c_str(), 100).size(), 74u)
                << in << named;
        }
        for (const std::string& label : labels) {
            EXPECT_LE(
                (formatted(t.odds_choice_line, label.c_str(), widest.c_str()) + t.odds_best).size(),
                36u)
                << in << label;
        }
        for (const char* mark : t.verdict_marks) {
            EXPECT_LE(
                (formatted(t.odds_verdict_line, name.c_str(), mark, widest.c_str()) + t.odds_best)
                    .size(),
                36u)
                << in << mark;
        }
        EXPECT_LE(std::strlen(t.too_small), 76u) << in;
    }
}

// One game drawn in both languages, screen after screen: the same card borders, cursor
// and panel rows.
TEST(Languages, EnglishScreensKeepTheJapaneseGeometryOverWholeGames) {
    for (std::uint32_t seed : {1u, 7u, 1767225600u, 20261208u, 4294967295u}) {
        TestGame t = make_game(seed);
        Screen a{};
        Screen b{};
        bool restarted = false;
        for (int k = 0; k < 400 && !restarted; ++k) {
            const std::string where =
                "seed " + std::to_string(seed) + " after key " + std::to_string(k);
            render(*t.game, LANGUAGE_JAPANESE, a);
            render(*t.game, LANGUAGE_ENGLISH, b);
            for (int y = 0; y < SCREEN_ROWS; ++y) {
                for (int x = 0; x < SCREEN_COLUMNS; ++x) {
                    const Cell& j = a.cells[y][x];
                    const int lead = x - (j.part == CELL_TRAIL ? 1 : 0);
                    const bool border =
                        j.part != CELL_SINGLE && glyph_ambiguous_class(a.cells[y], lead) != 0;
                    const bool cursor = j.byte == '>' && y >= 2 && y < 15;
                    if (border || cursor) {
                        ASSERT_TRUE(cells_look_alike(j, b.cells[y][x]))
                            << where << " at " << x << "," << y;
                    }
                }
                if (y >= 15 && y < 20) {  // a panel half has a line in both languages or in neither
                    for (int half : {0, 40}) {
                        bool ja_line = false;
                        bool en_line = false;
                        for (int x = half; x < half + 36; ++x) {
                            ja_line = ja_line || a.cells[y][x].byte != ' ';
                            en_line = en_line || b.cells[y][x].byte != ' ';
                        }
                        EXPECT_EQ(ja_line, en_line) << where << " row " << y << " half " << half;
                    }
                }
            }
            restarted = t.game->winner != NONE;
            step_game(*t.game, static_cast<std::uint8_t>(restarted ? 'r' : scripted_key(*t.game)));
        }
        EXPECT_TRUE(restarted) << "seed " << seed << ": the game never ended";
    }
}

}  // namespace
