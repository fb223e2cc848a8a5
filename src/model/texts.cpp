#include "model/texts.hpp"

#include <cstdio>
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
    .names = {name("ミモザ"_sj), name("カモミール"_sj), name("すずらん"_sj), name("たんぽぽ"_sj),
              name("ひいらぎ"_sj), name("ききょう"_sj), name("なずな"_sj), name("ラベンダー"_sj),
              name("よもぎ"_sj), name("セージ"_sj)},
    .glyphs = {glyph("狼"_sj), glyph("狂"_sj), glyph("占"_sj), glyph("霊"_sj), glyph("狩"_sj),
               glyph("村"_sj)},
    .no_glyph = glyph("？"_sj),
    .wolves = "人狼は"_sj,
    .wolf = "【 %s 】"_sj,
    .prompts = {nullptr, "%d日夜です。襲撃対象を選んでください。JKIL\n"_sj, nullptr,
                "%d日朝です。騙りますか(未実装)\n"_sj, nullptr, "%d日朝です。CO結果\n"_sj, nullptr,
                "%d日朝です。投票先を選んでください。JKIL\n"_sj,
                "%d日朝です。投票結果です。JKIL\n"_sj, nullptr,
                "村人の勝利です! Press R to Retry"_sj, "人狼の勝利です! Press R to Retry"_sj},
    .bluff_prompts = {nullptr, "%d日朝です。%sは騙りますか? S 占い師 M 霊媒師 他のキー しない\n"_sj,
                      "%d日朝です。%sの占い結果です。JKILで選んで B 黒 W 白\n"_sj,
                      "%d日朝です。%sの霊媒結果です (%s)。B 黒 W 白\n"_sj},
    .card_name = "│%10s│"_sj,
    .card_claim = "│CO:%7s│"_sj,
    .card_counts = "│黒%2d  白%2d│"_sj,
    .card_blank = "│%10s│"_sj,
    .card_killed = "│%2d日  襲撃│"_sj,
    .card_hanged = "│%2d日  吊り│"_sj,
    .found_dead = "%sの死体が発見された"_sj,
    .attack_failed = "襲撃失敗!"_sj,
    .was_hanged = "%sが吊るされた"_sj,
    .claim_line = "%10s %sCO "_sj,
    .madman_call = "%s  死ね"_sj,
    .verdict_line = "%s  "_sj,
    .black = "黒"_sj,
    .white = "白"_sj,
    .vote_line = "%10s > %10s",
    .too_small = "画面が小さすぎます。76x24 以上に広げてください。"_sj,
    .story_day = "%d日目"_sj,
    .story_night = "%d日夜"_sj,
    .story_attack_failed = "%sへの襲撃は失敗した (狩人の護衛)"_sj,
    .story_vote = "%s → %s"_sj,
    .story_tally = "%s %d票"_sj,
    .story_tally_one = "%s %d票"_sj,
    .story_won = {"村人の勝利 (%d日目)"_sj, "人狼の勝利 (%d日目)"_sj},
    .story_won_at_dawn = "人狼の勝利 (%d日夜)"_sj,
    .role_names = {"人狼"_sj, "狂人"_sj, "占い師"_sj, "霊媒師"_sj, "狩人"_sj, "村人"_sj},
    .story_role = "%s: %s"_sj,
    .odds_line = "%10s 勝率 %s"_sj,
    .odds_best = " 最善"_sj,
    .odds_choice_line = "%s %s"_sj,
    .odds_verdict_line = "%10s %s %s"_sj,
    .verdict_marks = {"白"_sj, "黒"_sj},
    .claim_choices = {"騙らない"_sj, "占い師を騙る"_sj, "霊媒師を騙る"_sj},
    .verdict_choice = "%sに%s"_sj,
    .review_game = "ゲーム %d"_sj,
    .review_attack = "%d日夜 襲撃"_sj,
    .review_vote = "%d日 %sの投票"_sj,
    .review_morning = {"%d日朝 %sの騙り"_sj, "%d日朝 %sの占い結果"_sj, "%d日朝 %sの霊媒結果"_sj},
    .review_choice = "%s %d%% (%d-%d%%)"_sj,
    .review_chosen = ": %s"_sj,
    .review_best = "、最善は %s"_sj,
    .review_best_chosen = "、最善"_sj,
    .review_no_odds = "%s (勝率なし: 画面に出たことを説明できる役の配り方がない)"_sj,
    .review_as_good = "、最善と同等"_sj,
    .review_why = "    理由: %s"_sj,
    .review_read = "    コーチの読み: %s"_sj,
    .review_read_item = "%s %s %d%%"_sj,
    .review_read_none = "まだ目立つ人はいない"_sj,
    .review_then = "    その後: %s  %d%% → %d%%"_sj,
    .review_swing = "  運の振れ"_sj,
    .review_sums = "選択で失った勝率 %d ポイント、運で動いた勝率 %+d ポイント"_sj,
    .review_legend = "* 良い  ?! 疑問手  ? 悪手  ?? 大悪手"_sj,
    .review_night_short = "%d夜"_sj,
    .review_day_short = "%d日"_sj,
    .event_killed = "%sが襲撃された"_sj,
    .event_guarded = "%sへの襲撃は失敗 (狩人の護衛)"_sj,
    .event_claim = "%sが%sを名乗った"_sj,
    .event_verdict = "%sが%sを%sと言った"_sj,
    .event_medium = "%sが%sを%sと言った"_sj,
    .event_call = "%sが%sの死を求めた"_sj,
    .event_hanged = "%sが吊られた (%d票)"_sj,
    .event_tie = "%sがくじで吊られた (%d票で同数)"_sj,
    .event_join = "、"_sj,
    .verdict_words = {"白"_sj, "黒"_sj},
    .review_marks = {"疑問手"_sj, "悪手"_sj, "大悪手"_sj},
    .review_accuracy = "正確さ %d%% (最善の手の勝率のうち、選んだ手で保てた割合の平均)"_sj,
    .review_unfinished = "決着していません"_sj,
    .review_graph = "勝率の推移"_sj,
    .practice_found = "見つけました: %s は最善 (%s) と同等です"_sj,
    .practice_missed = "今回は違いました: %s。最善は %s"_sj,
    .practice_ask = "練習 %d / %d: あなたならどうする? i j k l で移動、z で決定"_sj,
    .practice_none = "この記録には印のついた選択がありません。練習するものはありません。\n"_sj,
    .practice_summary = "練習: %d / %d を見つけました。\n"_sj,
    .review_address = "ページで同じ振り返りを見る: "_sj,
    .reason_madman = "%sが狂人である確率 %d%%: 狂人は味方で、その票はあなたの側"_sj,
    .reason_guard = "今夜、狩人が%sを守る確率 %d%%、%sは %d%%"_sj,
    .reason_seer = "%sは占い師を名乗る: 生きている限り、毎晩あなたの人狼を見つけうる"_sj,
    .reason_medium = "%sは霊媒師を名乗る: 生きている限り、吊られた人狼を毎日言い当てる"_sj,
    .reason_pool =
        "村は名乗りも占いの白もない人にだけ投票する: %sが死ねば人狼はその%d人の中に、%sなら%d人の中に隠れる"_sj,
    .reason_role = "%sが%sである確率 %d%%、%sは %d%%"_sj,
    .reason_odds = "%sなら人狼の勝率 %d%%、%sなら %d%%"_sj,
    .reason_votes_one = "%s: 予想 %d.%d 票、吊られる確率 %d%%"_sj,
    .reason_own_wolf = "%sはあなたの人狼。%s"_sj,
    .reason_claimant = "%sは%sを名乗る: 村は名乗った人に投票しない。%s"_sj,
    .reason_cleared = "占い師が%sを白と言った: 村は白に投票しない。%s"_sj,
    .reason_votes = "%s。%s: 予想 %d.%d 票、吊られる確率 %d%%"_sj,
    .facts_attack = "%s: %s %d%%、今夜守られる確率 %d%%"_sj,
    .facts_morning = "%s: %sが今日吊られる確率 %d%%"_sj,
    .reason_morning = "%sなら%sが今日吊られる確率 %d%%、%sなら%sが %d%%。%s"_sj,
    .reason_rules =
        {"二人が同じ役を名乗れば、本物は偽物に投票し、村は名乗った人を低い席から順に吊る"_sj,
         "村は信じる占い師の黒に投票し、霊媒師が白と言えばその占い師を偽物と知る"_sj,
         "霊媒結果が占い師の言葉と食い違えば、村はその占い師を偽物と知る"_sj},
    .simulate_policies = {"random", "heuristic", "coach", "bluff"},
    .simulate_bluff = "、騙りのある村"_sj,
    .simulate_heading = "%s 戦略、%ld ゲーム (シード %u から)"_sj,
    .simulate_won = "人狼の勝ち %ld ゲーム: %.1f%% (95%% 区間 %.1f%% から %.1f%%)"_sj,
    .simulate_days = "決着の日の平均: %.2f日目"_sj,
    .simulate_speed = "1 秒に %.0f ゲーム (%d スレッド)"_sj,
    .simulate_partial = " (途中で止めました: %ld ゲームのうち)"_sj,
    .simulate_progress = "%ld / %ld ゲーム、人狼の勝ち %.1f%%、1 秒に %.0f ゲーム、残り %ld 秒"_sj,
};

// The flowers in English, and the words English Werewolf players use: seer, medium,
// bodyguard (the role that guards; a hunter shoots someone as he dies, which this one never
// does), madman, "claims". The glyphs are the roles' first letters: Wolf, Madman, Seer,
// Medium, Bodyguard, Villager. Nights and days share their numbers: the night of day 1 is
// night 1, and its victim is found on the morning of day 2.
constexpr Texts ENGLISH = {
    .names = {name("Mimosa"), name("Chamomile"), name("Lily"), name("Dandelion"), name("Holly"),
              name("Bellflower"), name("Cress"), name("Lavender"), name("Mugwort"), name("Sage")},
    .glyphs = {glyph("Wo"), glyph("Ma"), glyph("Se"), glyph("Me"), glyph("Bg"), glyph("Vi")},
    .no_glyph = glyph("--"),
    .wolves = "Your wolves:",
    .wolf = " [ %s ]",
    .prompts = {"Day %d is over. Press any key for nightfall.\n",
                "Night %d. Choose the wolves' victim: i j k l move, z kills.\n", nullptr,
                "Day %d. Fake claims are not in this game yet. Press any key.\n", nullptr,
                "Day %d. The claims and what they found. Press any key.\n", nullptr,
                "Day %d. %s votes: i j k l move, z votes.\n",
                "Day %d. The votes: the most-voted player is hanged. Press any key.\n", nullptr,
                "The village won, your wolves lost. r plays again, Ctrl-C quits.",
                "Your wolves won! r plays again, Ctrl-C quits."},
    .bluff_prompts = {nullptr, "Day %d. %s: claim? s the seer, m the medium, any other key: no.\n",
                      "Day %d. %s's seer result: i j k l choose, b a wolf, w human.\n",
                      "Day %d. %s's medium result on %s: b a wolf, w human.\n"},
    .card_name = "│%10s│"_sj,
    .card_claim = "│Claim:  %s│"_sj,
    .card_counts = "│Seer W%d H%d│"_sj,
    .card_blank = "│%10s│"_sj,
    .card_killed = "│Killed: N%d│"_sj,
    .card_hanged = "│Hanged: D%d│"_sj,
    .found_dead = "%s was killed in the night.",
    .attack_failed = "The attack failed: the bodyguard guarded the victim.",
    .was_hanged = "%s was hanged.",
    .claim_line = "%10s %s",
    .madman_call = ": %s must die",
    .verdict_line = ": %s is ",
    .black = "a wolf",
    .white = "human",
    .vote_line = "%10s -> %-10s",
    .too_small = "The window is too small: make it at least 76 columns by 24 rows.",
    .story_day = "Day %d",
    .story_night = "Night %d",
    .story_attack_failed = "The attack on %s failed: the bodyguard was guarding.",
    .story_vote = "%s -> %s",
    .story_tally = "%s: %d votes",
    .story_tally_one = "%s: %d vote",
    .story_won = {"The village won on day %d", "Your wolves won on day %d"},
    .story_won_at_dawn = "Your wolves won after night %d",
    .role_names = {"werewolf", "madman", "seer", "medium", "bodyguard", "villager"},
    .story_role = "%s: %s",
    .odds_line = "%10s %s",
    .odds_best = " best",
    .odds_choice_line = "%s %s",
    .odds_verdict_line = "%10s %s %s",
    .verdict_marks = {"H", "W"},
    .claim_choices = {"no claim", "the seer", "the medium"},
    .verdict_choice = "%s is %s",
    .review_game = "Game %d",
    .review_attack = "Night %d, the attack",
    .review_vote = "Day %d, %s's vote",
    .review_morning = {"Day %d, %s's claim", "Day %d, %s's seer result",
                       "Day %d, %s's medium result"},
    .review_choice = "%s %d%% (%d-%d%%)",
    .review_chosen = ": chose %s",
    .review_best = "; the best was %s",
    .review_best_chosen = ", the best",
    .review_no_odds = "%s, without odds: no deal of the roles explains what the screens showed",
    .review_as_good = ", as good as the best",
    .review_why = "    why: %s",
    .review_read = "    the village as the coach reads it: %s",
    .review_read_item = "%s %s %d%%",
    .review_read_none = "no seat stands out yet",
    .review_then = "    then: %s  %d%% -> %d%%",
    .review_swing = "  swing of luck",
    .review_sums = "Your choices cost %d points in all; luck moved the odds %+d points",
    .review_legend = "* fine  ?! inaccuracy  ? mistake  ?? blunder",
    .review_night_short = "N%d",
    .review_day_short = "D%d",
    .event_killed = "%s was killed",
    .event_guarded = "the attack on %s failed: the bodyguard was there",
    .event_claim = "%s claims to be the %s",
    .event_verdict = "%s says %s is %s",
    .event_medium = "%s says %s was %s",
    .event_call = "%s calls for %s's death",
    .event_hanged = "%s was hanged (%d votes)",
    .event_tie = "%s was hanged by lot, tied at %d votes",
    .event_join = "; ",
    .verdict_words = {"human", "a wolf"},
    .review_marks = {"inaccuracy", "mistake", "blunder"},
    .review_accuracy =
        "Accuracy %d%% (how much of the best choice's chance to win your choices kept, on average)",
    .review_unfinished = "Not decided when the record ends",
    .review_graph = "The wolves' chance to win after each choice",
    .practice_found = "Found: %s is as good as the best (%s)",
    .practice_missed = "Not this time: %s; the best was %s",
    .practice_ask = "Practice %d of %d: what would you choose? i j k l move, z chooses.",
    .practice_none = "No choice of this record is marked: there is nothing to practise.\n",
    .practice_summary = "Practice: found %d of %d.\n",
    .review_address = "The same review in the page: ",
    .reason_madman = "%s is the madman %d%%: your ally, whose vote is yours",
    .reason_guard = "the bodyguard guards %s %d%% of the time tonight, %s %d%%",
    .reason_seer = "%s claims to be the seer: each night he lives he may find one of your wolves",
    .reason_medium =
        "%s claims to be the medium: each day he lives he tells the village which "
        "hanged seat was a wolf",
    .reason_pool =
        "the village votes only seats without a claim or the seer's white: with %s dead "
        "your wolves hide among %d of them, with %s dead among %d",
    .reason_role = "%s is the %s %d%%, %s %d%%",
    .reason_odds = "after %s the wolves win %d%%, after %s %d%%",
    .reason_votes_one = "%s: %d.%d votes expected, hanged %d%%",
    .reason_own_wolf = "%s is one of your wolves; %s",
    .reason_claimant = "%s claims to be the %s: the village never votes a claimant; %s",
    .reason_cleared = "the seer cleared %s: the village never votes a seat he cleared; %s",
    .reason_votes = "%s; %s: %d.%d votes, hanged %d%%",
    .facts_attack = "%s: the %s %d%%, guarded %d%% of nights",
    .facts_morning = "%s: %s hanged today %d%%",
    .reason_morning = "after %s, %s is hanged today %d%%; after %s, %s %d%%. %s",
    .reason_rules = {"Two claimants of a role: the true one votes the liar, and the village hangs "
                     "the claimants in turn, the lowest seat first",
                     "The village votes the wolf a seer it trusts names, and knows him a liar "
                     "when the medium reads that seat human",
                     "A medium's word against a seer's shows the village that the seer lied"},
    .simulate_policies = {"random", "heuristic", "coach", "bluff"},
    .simulate_bluff = ", in the village with lies",
    .simulate_heading = "%s policy, %ld games from seed %u",
    .simulate_won = "the wolves won %ld: %.1f%% (95%% interval %.1f%% to %.1f%%)",
    .simulate_days = "mean last day: %.2f",
    .simulate_speed = "%.0f games a second; threads: %d",
    .simulate_partial = " (stopped early: %ld were asked for)",
    .simulate_progress = "%ld of %ld games, the wolves won %.1f%%, %.0f games a second, %ld s left",
};

}  // namespace

const Texts& texts_of(int language) { return language == LANGUAGE_ENGLISH ? ENGLISH : JAPANESE; }

std::string won_text(const Texts& texts, int winner, int day, bool at_dawn) {
    if (winner == WINNER_WOLVES && at_dawn) {
        return formatted(texts.story_won_at_dawn, day - 1);
    }
    return formatted(texts.story_won[winner == WINNER_VILLAGE ? 0 : 1], day);
}

int language_named(const char* name) {
    if (name == nullptr) return -1;
    if (std::strcmp(name, "ja") == 0) return LANGUAGE_JAPANESE;
    if (std::strcmp(name, "en") == 0) return LANGUAGE_ENGLISH;
    return -1;
}

const char* language_code(int language) { return language == LANGUAGE_ENGLISH ? "en" : "ja"; }
