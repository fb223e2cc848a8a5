// The records, the Shift-JIS texts, the random source and the deal.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "model/sjis.hpp"
#include "model/texts.hpp"
#include "test_support.hpp"

namespace {

// Code page 932 bytes of a UTF-8 text, by the system's own converter.
#ifdef _WIN32
std::string system_cp932(const std::string& utf8) {
    const int n = static_cast<int>(utf8.size());
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), n, wide.data(), n)));
    std::string out(utf8.size() * 2, '\0');
    BOOL lossy = FALSE;
    out.resize(static_cast<std::size_t>(
        WideCharToMultiByte(932, 0, wide.data(), static_cast<int>(wide.size()), out.data(),
                            static_cast<int>(out.size()), nullptr, &lossy)));
    return lossy ? "<not in code page 932>" : out;
}
#else
std::string system_cp932(const std::string& utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    std::string in = utf8;
    std::string out(in.size() * 2 + 1, '\0');
    char* src = in.data();
    char* dst = out.data();
    std::size_t src_left = in.size();
    std::size_t dst_left = out.size();
    const std::size_t done = iconv(cd, &src, &src_left, &dst, &dst_left);
    iconv_close(cd);
    if (done == static_cast<std::size_t>(-1)) return "<iconv failed>";
    out.resize(out.size() - dst_left);
    return out;
}
#endif

TEST(ShiftJisText, EveryTextOfTheGameIsItsCodePage932Bytes) {
    const std::vector<std::pair<const char*, const char*>> literals = {
        {"人狼は"_sj, "人狼は"},
        {"【 %s 】"_sj, "【 %s 】"},
        {"%d日夜です。襲撃対象を選んでください。JKIL\n"_sj,
         "%d日夜です。襲撃対象を選んでください。JKIL\n"},
        {"%d日朝です。騙りますか(未実装)\n"_sj, "%d日朝です。騙りますか(未実装)\n"},
        {"村人の勝利です! Press R to Retry"_sj, "村人の勝利です! Press R to Retry"},
        {"─────┐"_sj, "─────┐"},
        {"│黒%2d  白%2d│"_sj, "│黒%2d  白%2d│"},
        {"└─────┘"_sj, "└─────┘"},
        {"%sの死体が発見された"_sj, "%sの死体が発見された"},
        {"%sが吊るされた"_sj, "%sが吊るされた"},
        {"襲撃失敗!"_sj, "襲撃失敗!"},
        {"%s  死ね"_sj, "%s  死ね"},
        {role_glyph(texts_of(LANGUAGE_JAPANESE), -1), "？"},
        {role_glyph(texts_of(LANGUAGE_JAPANESE), ROLE_HUNTER), "狩"},
        {"ｱｲｳ～"_sj, "ｱｲｳ～"},  // half-width kana stay one byte; ～ is the Windows tilde
    };
    for (const auto& [sjis_bytes, utf8] : literals) {
        EXPECT_EQ(std::string(sjis_bytes), system_cp932(utf8)) << utf8;
    }
    const char* names[] = {"ミモザ",   "カモミール", "すずらん",   "たんぽぽ", "ひいらぎ",
                           "ききょう", "なずな",     "ラベンダー", "よもぎ",   "セージ"};
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        EXPECT_EQ(std::string(texts_of(LANGUAGE_JAPANESE).names[seat]), system_cp932(names[seat]));
    }
}

TEST(ShiftJisText, EveryCharacterComesBackAsItWentAndLengthsFollowOneRule) {
    // The search finds every character (the table is sorted) and decoding gives it back.
    for (const auto& entry : cp932::kEncode) {
        const int code = sjis::encode(entry.unicode);
        ASSERT_GT(code, 0xFF) << static_cast<unsigned>(entry.unicode);
        EXPECT_EQ(sjis::decode_double(static_cast<unsigned char>(code >> 8),
                                      static_cast<unsigned char>(code & 0xFF)),
                  entry.unicode);
    }
    EXPECT_EQ(sjis::encode(U'😀'), -1);
    EXPECT_EQ(sjis::decode_double(0x81, 0x7F), 0u);  // 0x7F is never a trail byte

    // The one length rule: 0 while a lead byte waits for its trail, a lead byte followed
    // by a byte that cannot continue it stands alone.
    const struct {
        const char* bytes;
        std::size_t n;
        std::size_t length;
    } lengths[] = {{"\x93\xFA", 2, 2}, {"\xFC\xFC", 2, 2}, {"\x93", 1, 0}, {"\x93\x7F", 2, 1},
                   {"\x93\x0A", 2, 1}, {"\xA0\x40", 2, 1}, {"\xB1", 1, 1}, {"\xFD\x40", 2, 1},
                   {"a", 1, 1},        {"", 0, 0}};
    for (const auto& c : lengths) {
        EXPECT_EQ(sjis::char_length(reinterpret_cast<const unsigned char*>(c.bytes), c.n), c.length)
            << c.bytes;
    }
}

// The fuzzer reuses one record: after a reset nothing of the last game may remain, not
// even the fields that new_game leaves alone: every night record and published claim -1,
// the log empty.
TEST(Records, AResetRecordIsAsFreshAsANewOne) {
    TestGame played = make_game(7);
    Game& g = *played.game;
    for (int k = 0; k < 40; ++k) play(played, scripted_key(g));
    g.voter_index = 1;
    ASSERT_NE(g.day, 0);
    reset_game(g);
    EXPECT_EQ(g.voter_index, 0);
    EXPECT_EQ(g.key, 0);
    EXPECT_EQ(g.day, 0);
    EXPECT_EQ(g.winner, 0);
    const auto all_none = [](const NightRecord& n) {
        return n.day == NONE && n.role == NONE && n.target == NONE && n.result == NONE;
    };
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        const Player& p = g.players[seat];
        EXPECT_EQ(p.alive, 0);
        EXPECT_EQ(p.role, 0);
        EXPECT_EQ(p.co_claim, 0);
        for (int day = 0; day < DAY_SLOTS; ++day) {
            EXPECT_TRUE(all_none(g.claims[seat][day])) << seat << " " << day;
            EXPECT_TRUE(all_none(p.night[day])) << seat << " " << day;
            EXPECT_EQ(p.vote[day], 0);
            EXPECT_EQ(g.votes[seat][day], 0);
        }
    }
    for (int day = 0; day < DAY_SLOTS; ++day) EXPECT_EQ(g.attacks[day], NONE) << day;
    for (const LogLine& line : g.log) {
        EXPECT_EQ(line.kind, NONE);
        EXPECT_EQ(line.seat, NONE);
    }
}

TEST(Records, TheLogKeepsTheFiveNewestLines) {
    Game game{};
    reset_game(game);
    for (int seat = 0; seat < LOG_LINES; ++seat) push_log(game, LOG_FOUND_DEAD, seat);
    EXPECT_EQ(game.log[0].seat, 4);
    EXPECT_EQ(game.log[4].seat, 0);
    push_log(game, LOG_ATTACK_FAILED, NONE);
    EXPECT_EQ(game.log[0].kind, LOG_ATTACK_FAILED);
    EXPECT_EQ(game.log[1].seat, 4);
    EXPECT_EQ(game.log[4].seat, 1);
}

TEST(RandomSource, MatchesTheClassicLinearCongruentialSequence) {
    Random random{};
    seed_random(random, 1);
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    for (int value : expected) EXPECT_EQ(random_output(random), value);
    seed_random(random, 0xFFFFFFFFu);  // wraps modulo 2^32 without trouble
    for (int i = 0; i < 1000; ++i) {
        const int value = random_output(random);
        ASSERT_GE(value, 0);
        ASSERT_LE(value, RANDOM_MAX);
    }
}

TEST(Deal, ShufflesWithNineDrawsIntoTheExpectedDeck) {
    // Seed 1 draws 41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962: the swaps
    // (3,2) (4,0) (6,2) (7,6) (8,0) (9,2) give this deck.
    Random random{};
    seed_random(random, 1);
    std::array<int, SEAT_COUNT> deck = ROLE_DECK;
    shuffle_deck(deck, random);
    EXPECT_EQ(deck, (std::array<int, SEAT_COUNT>{5, 0, 5, 1, 0, 4, 5, 2, 3, 5}));
    EXPECT_EQ(random_output(random), 24464);  // the tenth output: exactly nine were used
}

TEST(Deal, EveryDealHasTheRightRolesAndAscendingWolves) {
    for (std::uint32_t seed = 0; seed < 500; ++seed) {
        TestGame t = make_game(seed);
        const Game& g = *t.game;
        int counts[6] = {};
        for (const Player& p : g.players) counts[p.role] += 1;
        EXPECT_EQ(counts[ROLE_WOLF], 2);
        EXPECT_EQ(counts[ROLE_VILLAGER], 4);
        for (int role : {ROLE_MADMAN, ROLE_SEER, ROLE_MEDIUM, ROLE_HUNTER}) {
            EXPECT_EQ(counts[role], 1);
        }
        EXPECT_EQ(g.wolf_count, 2);
        EXPECT_LT(g.wolf_seats[0], g.wolf_seats[1]);
        EXPECT_EQ(g.players[g.wolf_seats[0]].role, ROLE_WOLF);
        EXPECT_EQ(g.players[g.wolf_seats[1]].role, ROLE_WOLF);
    }
}

}  // namespace
