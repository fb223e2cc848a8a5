#include "model/texts.hpp"

#include <cstring>

#include "model/sjis.hpp"

namespace {

// A name that fits its field of 10 columns; a longer one does not compile.
consteval const char* name(const char* text) {
    int length = 0;
    while (text[length] != '\0') ++length;
    if (length > NAME_BYTES - 2) throw "a character name is longer than 10 bytes";
    return text;
}

// A glyph of exactly two columns; any other does not compile.
consteval const char* glyph(const char* text) {
    if (text[0] == '\0' || text[1] == '\0' || text[2] != '\0') throw "a glyph is not two bytes";
    return text;
}

constexpr Texts JAPANESE = {
    {name("ミモザ"_sj), name("カモミール"_sj), name("すずらん"_sj), name("たんぽぽ"_sj),
     name("ひいらぎ"_sj), name("ききょう"_sj), name("なずな"_sj), name("ラベンダー"_sj),
     name("よもぎ"_sj), name("セージ"_sj)},
    {glyph("狼"_sj), glyph("狂"_sj), glyph("占"_sj), glyph("霊"_sj), glyph("狩"_sj),
     glyph("村"_sj)},
    glyph("？"_sj),
    "人狼は"_sj,
    "【 %s 】"_sj,
    {nullptr, "%d日夜です。襲撃対象を選んでください。JKIL\n"_sj, nullptr,
     "%d日朝です。騙りますか(未実装)\n"_sj, nullptr, "%d日朝です。CO結果\n"_sj, nullptr,
     "%d日朝です。投票先を選んでください。JKIL\n"_sj, "%d日朝です。投票結果です。JKIL\n"_sj,
     nullptr, "村人の勝利です! Press R to Retry"_sj, "人狼の勝利です! Press R to Retry"_sj},
    "│%10s│"_sj,
    "│CO:%7s│"_sj,
    "│黒%2d  白%2d│"_sj,
    "│%10s│"_sj,
    "│%2d日  %4s│"_sj,
    "襲撃"_sj,
    "吊り"_sj,
    "%sの死体が発見された"_sj,
    "襲撃失敗!"_sj,
    "%sが吊るされた"_sj,
    "%10s %sCO "_sj,
    "%s  死ね"_sj,
    "%s  "_sj,
    "黒"_sj,
    "白"_sj,
    "画面が小さすぎます。76x24 以上に広げてください。"_sj,
    "%d日目"_sj,
    "%s → %s"_sj,
    "%s %d票"_sj,
    {"村人の勝利 (%d日目)"_sj, "人狼の勝利 (%d日目)"_sj},
    {"人狼"_sj, "狂人"_sj, "占い師"_sj, "霊媒師"_sj, "狩人"_sj, "村人"_sj},
    "%s: %s"_sj,
    "%10s 勝率 %3d%% ±%d"_sj,
    " 最善"_sj,
    "ゲーム %d"_sj,
    "%d日夜 襲撃"_sj,
    "%d日 %sの投票"_sj,
    "%s %d%% (%d-%d%%)"_sj,
    ": %s"_sj,
    "、最善は %s"_sj,
    "、最善"_sj,
    {"疑問手"_sj, "悪手"_sj, "大悪手"_sj},
    "。正確さ %d%%"_sj,
    "決着していません"_sj,
    "勝率の推移"_sj,
    "ページで同じ振り返りを見る: "_sj,
    {"random"_sj, "heuristic"_sj, "coach"_sj},
    "%s 戦略、%ld ゲーム (シード %u から)"_sj,
    "人狼の勝ち %ld ゲーム: %.1f%% (95%% 区間 %.1f%% から %.1f%%)"_sj,
    "決着の日の平均: %.2f日目"_sj,
    "1 秒に %.0f ゲーム (%d スレッド)"_sj,
};

// The flowers in English. The glyphs are the roles' first letters: Wolf, Madman, Seer,
// Medium, Hunter, Villager.
constexpr Texts ENGLISH = {
    {name("Mimosa"), name("Chamomile"), name("Lily"), name("Dandelion"), name("Holly"),
     name("Bellflower"), name("Cress"), name("Lavender"), name("Mugwort"), name("Sage")},
    {glyph("Wo"), glyph("Ma"), glyph("Se"), glyph("Me"), glyph("Hu"), glyph("Vi")},
    glyph(" ?"),
    "Your wolves:",
    " [ %s ]",
    {nullptr, "Night %d. Choose the wolves' victim: i j k l move, z attacks.\n", nullptr,
     "Day %d. Fake a claim? (Not available yet.) Any key goes on.\n", nullptr,
     "Day %d. The claims and what they found.\n", nullptr,
     "Day %d. Vote, one wolf after the other: i j k l move, z votes.\n", "Day %d. The votes.\n",
     nullptr, "The village wins! Press r to play again.", "The wolves win! Press r to play again."},
    "│%10s│"_sj,
    "│Claim:%4s│"_sj,
    "│Bk%2d  Wh%2d│"_sj,
    "│%10s│"_sj,
    "│Day%2d %4s│"_sj,
    "Kill",
    "Hang",
    "%s was found dead.",
    "The attack failed!",
    "%s was hanged.",
    "%10s %s: ",
    "%s must die",
    "%s  ",
    "wolf",
    "human",
    "The window is too small. Make it at least 76x24.",
    "Day %d",
    "%s -> %s",
    "%s %d",
    {"The village won (day %d)", "The wolves won (day %d)"},
    {"werewolf", "madman", "seer", "medium", "hunter", "villager"},
    "%s: %s",
    "%10s wins %3d%% ±%d"_sj,
    " best",
    "Game %d",
    "Night %d, attack",
    "Day %d, %s's vote",
    "%s %d%% (%d-%d%%)",
    ": chose %s",
    "; best %s",
    "; the best",
    {"inaccuracy", "mistake", "blunder"},
    ". Accuracy %d%%",
    "Not decided when the record ends",
    "The odds of each choice made",
    "The same review in the page: ",
    {"random", "heuristic", "coach"},
    "%s policy, %ld games from seed %u",
    "the wolves won %ld: %.1f%% (95%% interval %.1f%% to %.1f%%)",
    "mean last day: %.2f",
    "%.0f games a second; threads: %d",
};

}  // namespace

const Texts& texts_of(int language) { return language == LANGUAGE_ENGLISH ? ENGLISH : JAPANESE; }

int language_named(const char* name) {
    if (name == nullptr) return -1;
    if (std::strcmp(name, "ja") == 0) return LANGUAGE_JAPANESE;
    if (std::strcmp(name, "en") == 0) return LANGUAGE_ENGLISH;
    return -1;
}
