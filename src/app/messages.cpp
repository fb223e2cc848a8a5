#include "app/messages.hpp"

#include <cstring>

#include "model/record.hpp"
#include "model/sjis.hpp"

#ifndef JINRO_VERSION
#define JINRO_VERSION "0.0.0"
#endif

namespace {

// The messages of the tools' options (--simulate, --review, --practice, --bluff and the
// rest); null for any other error.
const char* tool_usage_line(int error, bool japanese) {
    switch (error) {
    case USAGE_BAD_GAMES:
        return japanese
                   ? "jinro: ゲームの数 '%s' が正しくありません (1 から 1000000000 までの整数)\n"_sj
                   : "jinro: invalid number of games '%s' (a whole number from 1 to 1000000000)\n";
    case USAGE_BAD_THREADS:
        return japanese ? "jinro: スレッドの数 '%s' が正しくありません (1 から 256 までの整数)\n"_sj
                        : "jinro: invalid number of threads '%s' (a whole number from 1 to 256)\n";
    case USAGE_BAD_POLICY:
        return japanese ? "jinro: 戦略 '%s' はありません (random、heuristic、coach か bluff)\n"_sj
                        : "jinro: unknown policy '%s' (random, heuristic, coach or bluff)\n";
    case USAGE_BLUFF_POLICY:
        return japanese
                   ? "jinro: --policy bluff は騙りのある村のもので、--bluff と一緒に使います\n"_sj
                   : "jinro: --policy bluff lies, which only --bluff allows: use it with --bluff\n";
    case USAGE_SIMULATE_WITH_OTHERS:
        return japanese
                   ? "jinro: --simulate と同時に指定できるのは --policy、--seed、--bluff、--threads、--json、--lang だけです\n"_sj
                   : "jinro: --simulate can be used only with --policy, --seed, --bluff, "
                     "--threads, "
                     "--json and --lang\n";
    case USAGE_REVIEW_WITH_OTHERS:
        return japanese
                   ? "jinro: --review と同時に指定できるのは --json、--threads、--lang だけです\n"_sj
                   : "jinro: --review can be used only with --json, --threads and --lang\n";
    case USAGE_COACH_WITH_OTHERS:
        return japanese ? "jinro: --coach は遊ぶときのもので、--story とは同時に指定できません\n"_sj
                        : "jinro: --coach is for playing: it cannot be used with --story\n";
    case USAGE_NOT_ALONE:
        return japanese
                   ? "jinro: オプション '%s' は --simulate (--threads と --json は --review でも) と一緒に使います\n"_sj
                   : "jinro: option '%s' needs --simulate (--threads and --json: or --review)\n";
    case USAGE_REPEATED:
        return japanese ? "jinro: オプション '%s' が二度指定されています\n"_sj
                        : "jinro: option '%s' is given more than once\n";
    case USAGE_PRACTICE_WITH_OTHERS:
        return japanese
                   ? "jinro: --practice と同時に指定できるのは --narrow、--wide、--threads、--lang だけです\n"_sj
                   : "jinro: --practice can be used only with --narrow, --wide, --threads and "
                     "--lang\n";
    case USAGE_BLUFF_WITH_RECORD:
        return japanese
                   ? "jinro: 記録は自分の規則を持つので、--bluff は --replay、--story、--review、--practice と同時に指定できません\n"_sj
                   : "jinro: a record keeps its own rules: --bluff cannot be used with --replay, "
                     "--story, --review or --practice\n";
    case USAGE_SEEDS_PAST_END:
        return japanese
                   ? "jinro: --simulate のシード値が 4294967295 を超えます (--seed + ゲームの数 - 1 まで使います)\n"_sj
                   : "jinro: the seeds of --simulate would run past 4294967295 (it plays seeds "
                     "--seed "
                     "to --seed + N - 1)\n";
    default: return nullptr;
    }
}

const char* usage_error_line(int error, bool japanese) {
    if (const char* line = tool_usage_line(error, japanese)) return line;
    switch (error) {
    case USAGE_UNKNOWN_OPTION:
        return japanese ? "jinro: 不明なオプション '%s'\n"_sj : "jinro: unrecognized option '%s'\n";
    case USAGE_MISSING_VALUE:
        return japanese ? "jinro: オプション '%s' には値が必要です\n"_sj
                        : "jinro: option '%s' requires a value\n";
    case USAGE_BAD_SEED:
        return japanese
                   ? "jinro: シード値 '%s' が正しくありません (0 から 4294967295 までの整数)\n"_sj
                   : "jinro: invalid seed '%s' (it must be a whole number from 0 to 4294967295)\n";
    case USAGE_SEED_AND_DAILY:
        return japanese ? "jinro: --seed と --daily は同時に指定できません\n"_sj
                        : "jinro: --seed and --daily cannot be used together\n";
    case USAGE_NARROW_AND_WIDE:
        return japanese ? "jinro: --narrow と --wide は同時に指定できません\n"_sj
                        : "jinro: --narrow and --wide cannot be used together\n";
    case USAGE_BAD_LANGUAGE:
        return japanese ? "jinro: 言語 '%s' はありません (ja か en)\n"_sj
                        : "jinro: unknown language '%s' (ja or en)\n";
    case USAGE_BAD_LANGUAGE_ENVIRONMENT:
        return japanese ? "jinro: JINRO_LANG の言語 '%s' はありません (ja か en)\n"_sj
                        : "jinro: unknown language '%s' in JINRO_LANG (ja or en)\n";
    case USAGE_REPLAY_WITH_OTHERS:
        return japanese
                   ? "jinro: --replay と --story は --seed、--daily、--record、互いと同時に指定できません\n"_sj
                   : "jinro: --replay and --story cannot be used with --seed, --daily, --record or "
                     "each other\n";
    case USAGE_UNEXPECTED_VALUE:
        return japanese ? "jinro: オプション '%s' は値をとりません\n"_sj
                        : "jinro: option '%s' does not take a value\n";
    default: return japanese ? "jinro: 余分な引数 '%s'\n"_sj : "jinro: unexpected argument '%s'\n";
    }
}

}  // namespace

const char* help_text(bool japanese) {
    if (japanese) {
        return "使い方: jinro [オプション]...\n"
               "端末で遊ぶ人狼ゲームです。\n"
               "あなたは二人の人狼を操り、八人のコンピュータと戦います。\n"
               "キー: i j k l で移動、z で決定、勝敗が決まったら r でもう一度、Ctrl-C で終了。\n"
               "\n"
               "  --seed N   いまの時刻の代わりに Unix 時刻 N (0 から 4294967295) の村で遊ぶ\n"
               "  --daily    今日の村: 日本の同じ日には、だれでも同じゲームになる\n"
               "  --narrow   罫線を一桁幅で描く (端末に問い合わせない)\n"
               "  --wide     罫線を二桁幅で描く (端末に問い合わせない)\n"
               "  --lang L   ゲームの言語: ja (日本語、既定) か en (英語)。\n"
               "             環境変数 JINRO_LANG でも選べる\n"
               "  --record FILE  遊びながら FILE に記録する (既にあるファイルには書かない)\n"
               "  --replay FILE  記録を再生する (キーで一手ずつ、終わったら続きを遊べる)\n"
               "  --story FILE   記録の経過を表示する\n"
               "  --coach    襲撃と投票の画面で、選べる席ごとの人狼の勝率を表示する\n"
               "  --review FILE  記録のゲームを振り返る: 人狼の選択ごとの勝率と最善の選択\n"
               "  --practice FILE  記録で誤った選択の場面を、勝率を隠してもう一度解く\n"
               "  --bluff    騙りありの村: 人狼は朝に占い師か霊媒師を騙れる。村は騙りを見抜く\n"
               "             規則で動く (s 占い師、m 霊媒師、b 黒、w 白)\n"
               "  --simulate N   N ゲームを戦略 (--policy random、heuristic、coach か、\n"
               "             --bluff とともに bluff) でシード (--seed、既定 1) から続けて\n"
               "             遊び、人狼の勝率を表示する\n"
               "  --threads T    --simulate と --review のスレッド数 (既定: コアの数)\n"
               "  --json     --simulate と --review を JSON で出力する\n"
               "  --help     この説明を表示して終了する\n"
               "  --version  バージョンを表示して終了する\n"
               "\n"
               "終了ステータス: 正常な終了は 0、入出力のエラーは 1、使い方の誤りは 2。\n"_sj;
    }
    return "Usage: jinro [OPTION]...\n"
           "A Werewolf (jinro) game for the terminal: you play both werewolves against\n"
           "eight computer players. Keys: i j k l move the cursor, z chooses, any key goes\n"
           "on where there is nothing to choose, r plays again after a game, Ctrl-C quits.\n"
           "\n"
           "  --seed N   play the village dealt from seed N (0 to 4294967295); by default\n"
           "             the seed is the current Unix time\n"
           "  --daily    today's village: the same game for everyone that day in Japan\n"
           "  --narrow   draw box-drawing lines one column wide (do not ask the terminal)\n"
           "  --wide     draw box-drawing lines two columns wide (do not ask the terminal)\n"
           "  --lang L   the game's language: ja (Japanese, the default) or en (English);\n"
           "             the environment variable JINRO_LANG chooses it too\n"
           "  --record FILE  record the game in FILE as you play (FILE must not exist yet)\n"
           "  --replay FILE  replay a record one key at a time, then play on from its end\n"
           "  --story FILE   tell the story of a recorded game, with its link to the page\n"
           "  --coach    on the attack and vote screens, show the wolves' chance of winning\n"
           "             for each seat you can choose\n"
           "  --review FILE  review a record's games: the wolves' chance of winning after\n"
           "             each choice you made, beside the best choice\n"
           "  --practice FILE  solve again, with the odds hidden, the choices of a record\n"
           "             that lost most\n"
           "  --bluff    the village with lies: on the morning screen a wolf may claim to\n"
           "             be the seer or the medium (s, m; then b black, w white), and the\n"
           "             computer players weigh the claims\n"
           "  --simulate N   let a policy (--policy random, heuristic, coach, or with\n"
           "             --bluff: bluff) play N games from consecutive seeds (--seed,\n"
           "             default 1) and print how often the wolves won\n"
           "  --threads T    threads for --simulate and --review (default: one per core)\n"
           "  --json     print --simulate and --review as JSON, for tools\n"
           "  --help     show this help and exit\n"
           "  --version  show the version and exit\n"
           "\n"
           "Exit status: 0 when the game ends normally, 1 on an input or output error,\n"
           "2 on a usage error.\n";
}

std::string version_text() { return "jinro " JINRO_VERSION "\n"; }

std::string usage_error_text(const Options& options, bool japanese) {
    const char* line = usage_error_line(options.usage_error, japanese);
    std::string text;
    const char* mark = std::strstr(line, "%s");
    if (mark != nullptr) {
        text.append(line, mark).append(options.argument).append(mark + 2);
    } else {
        text = line;
    }
    text += japanese ? "詳しくは 'jinro --help' を実行してください。\n"_sj
                     : "Try 'jinro --help' for more information.\n";
    return text;
}

std::string record_error_text(int error, const char* path, bool japanese, int system_error) {
    const char* what = "";
    switch (error) {
    case RECORD_UNKNOWN_VERSION:
        what = japanese ? "知らない形式の版です"_sj : "an unknown version of the record format";
        break;
    case RECORD_BAD_SEED:
        what = japanese ? "シード値が正しくありません"_sj
                        : "the seed is not a whole number from 0 to 4294967295";
        break;
    case RECORD_TOO_MANY_KEYS:
        what = japanese ? "キーが 100000 個を超えています"_sj : "more than 100000 keys";
        break;
    case RECORD_NOT_TEXT: what = japanese ? "テキストではありません"_sj : "not a text file"; break;
    case RECORD_TOO_LARGE: what = japanese ? "大きすぎます"_sj : "too large"; break;
    case RECORD_READ_ERROR: what = japanese ? "読めません"_sj : "cannot be read"; break;
    case RECORD_NOT_REGULAR:
        what = japanese ? "通常のファイルではありません"_sj : "not a regular file";
        break;
    default:
        what =
            japanese
                ? "jinro の記録ではありません (1 行目は jinro-record 1 シード値、次にキー ijklzr. と IJKLZR)"_sj
                : "not a jinro record (it starts with the line jinro-record 1 SEED, then the keys "
                  "ijklzr. and IJKLZR)";
        break;
    }
    std::string reason;
    if (error == RECORD_READ_ERROR && system_error != 0)
        reason = " (" + printable(std::strerror(system_error), ARGUMENT_BYTES) + ")";
    return "jinro: " + printable(path, ARGUMENT_BYTES) + ": " + what + reason + "\n";
}

std::string record_file_error_text(bool exists, const char* path, int error, bool japanese) {
    if (exists) {
        return "jinro: " + printable(path, ARGUMENT_BYTES) + ": " +
               (japanese ? "すでにあります (上書きしません)"_sj
                         : "already exists, and jinro never overwrites a file") +
               "\n";
    }
    return write_error_text(path, error, true, japanese);
}

std::string write_error_text(const char* path, int error, bool creating, bool japanese) {
    const char* what = creating ? (japanese ? "作れません"_sj : "cannot be created")
                                : (japanese ? "書き込めません"_sj : "cannot be written");
    const char* shown = path != nullptr ? nullptr : japanese ? "標準出力"_sj : "standard output";
    return "jinro: " + (shown != nullptr ? std::string(shown) : printable(path, ARGUMENT_BYTES)) +
           ": " + what + " (" + printable(std::strerror(error), ARGUMENT_BYTES) + ")\n";
}

std::string replay_start_text(const char* path, std::size_t keys, bool japanese) {
    const std::string file = printable(path, ARGUMENT_BYTES);
    return japanese ? "jinro: " + file + " を再生します: キー " + std::to_string(keys) +
                          " 個を 0.6 秒ごとに (何かキーを押すとすぐに進みます)\n"_sj
                    : "jinro: replaying " + file + ": " + std::to_string(keys) +
                          " keys, one every 0.6 s (any key steps at once)\n";
}

std::string replay_over_text(const char* path, std::size_t keys, bool japanese) {
    const std::string file = printable(path, ARGUMENT_BYTES);
    return japanese ? "jinro: " + file + " の再生が終わりました (キー " + std::to_string(keys) +
                          " 個)。ここからはあなたの番です\n"_sj
                    : "jinro: the replay of " + file + " is over (" + std::to_string(keys) +
                          " keys): from there on, you played\n";
}

const char* memory_error_text(bool japanese) {
    return japanese ? "jinro: メモリが足りません\n"_sj : "jinro: out of memory\n";
}

std::string read_error_text(int error, bool japanese) {
    return std::string("jinro: ") +
           (japanese ? "標準入力: 読めません"_sj : "standard input: cannot be read") + " (" +
           printable(std::strerror(error), ARGUMENT_BYTES) + ")\n";
}

std::string record_full_text(const char* path, bool japanese) {
    return "jinro: " + printable(path, ARGUMENT_BYTES) + ": " +
           (japanese ? "記録がキー 100000 個に達したので、その先は記録していません"_sj
                     : "the record is full at 100000 keys; the rest of the game was not recorded") +
           "\n";
}
