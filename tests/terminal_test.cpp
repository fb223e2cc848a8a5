// What goes to the terminal and what comes from it: the frame encoder (colours, widths,
// changed cells only) and the key decoder (sequences, replies, split input).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "model/sjis.hpp"
#include "platform/console.hpp"
#include "platform/console_keys.hpp"
#include "platform/frame.hpp"
#include "platform/key_decoder.hpp"
#include "platform/terminal_text.hpp"
#include "platform/vt_probe.hpp"
#include "test_support.hpp"

namespace {

Screen screen_with(const char* sjis_text, int x, int y, int attr) {
    Screen s{};
    s.attr = ATTR_BRIGHT_WHITE;
    screen_clear(s);
    s.cursor_x = x;
    s.cursor_y = y;
    s.attr = attr;
    screen_write(s, sjis_text, std::char_traits<char>::length(sjis_text));
    return s;
}

std::string frame(TerminalView& view, const Screen& s) {
    std::string out;
    append_frame(view, s, out);
    return out;
}

TEST(ScreenCells, OverwritingHalfADoubleByteCharacterBlanksTheOtherHalf) {
    Screen s = screen_with("あい"_sj, 0, 0, ATTR_BRIGHT_WHITE);
    s.cursor_x = 1;
    screen_write(s, "x", 1);  // right half of あ
    EXPECT_EQ(screen_row(s, 0).substr(0, 4), std::string(" x") + "い"_sj);
    s.cursor_x = 3;
    screen_write(s, "y", 1);  // right half of い
    EXPECT_EQ(screen_row(s, 0).substr(0, 4), " x y");
    s.cursor_x = 2;
    screen_write(s, "う"_sj, 2);
    s.cursor_x = 1;
    screen_write(s, "え"_sj, 2);  // over x and the left half of う
    EXPECT_EQ(screen_row(s, 0).substr(0, 5), std::string(" ") + "え"_sj + "  ");
    EXPECT_NE(s.cells[0][0].part, CELL_TRAIL);
    for (int x = 1; x < 6; ++x) {  // every half has its other half
        const bool lead_before = s.cells[0][x - 1].part == CELL_LEAD;
        EXPECT_EQ(s.cells[0][x].part == CELL_TRAIL, lead_before) << "column " << x;
    }
}

TEST(ScreenCells, TextStopsAtTheEdgesAndNeverSplitsACharacter) {
    Screen s = screen_with("あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほ"_sj, 15, 0,
                           ATTR_GREY);  // 60 bytes from column 15: past the edge
    EXPECT_EQ(s.cells[0][SCREEN_COLUMNS - 1].part, CELL_SINGLE);  // ほ's lead would not fit
    EXPECT_EQ(s.cells[0][SCREEN_COLUMNS - 1].byte, ' ');
    EXPECT_EQ(s.cells[0][SCREEN_COLUMNS - 2].part, CELL_TRAIL);
    EXPECT_EQ(screen_row(s, 1), std::string(76, ' '));  // nothing wraps
    s.cursor_x = 0;
    s.cursor_y = SCREEN_ROWS - 1;
    screen_write(s, "a\nb\nc", 5);  // below the last row: dropped, no crash
    EXPECT_EQ(s.cells[SCREEN_ROWS - 1][0].byte, 'a');
}

TEST(Frames, BoxLinesArePaddedToTwoColumnsOnlyWhereTheTerminalDrawsThemNarrow) {
    const Screen s = screen_with("│CO:─┐└x"_sj, 0, 0, ATTR_BRIGHT_WHITE);
    TerminalView narrow = make_terminal_view(OUTPUT_UTF8, 1);
    const std::string one = frame(narrow, s);
    // After a run of ambiguous characters the next character is placed absolutely.
    EXPECT_NE(one.find("│ \x1b[1;3HCO:──┐ └─\x1b[1;12Hx"), std::string::npos) << one;

    TerminalView wide = make_terminal_view(OUTPUT_UTF8, 2);
    const std::string two = frame(wide, s);
    EXPECT_NE(two.find("│\x1b[1;3HCO:─┐└\x1b[1;12Hx"), std::string::npos) << two;

    TerminalView shift_jis = make_terminal_view(OUTPUT_SHIFT_JIS, 2);
    EXPECT_NE(frame(shift_jis, s).find("─┐└"_sj), std::string::npos);
}

TEST(Frames, OnlyChangedCellsAreSentAfterTheFirstFrame) {
    TestGame t = make_game(42);
    draw(t);
    TerminalView view = make_terminal_view(OUTPUT_UTF8, 1);
    const std::string first = frame(view, *t.screen);
    EXPECT_EQ(first.rfind("\x1b[0m\x1b[H\x1b[2J", 0), 0u);
    EXPECT_GT(first.size(), 2000u);

    EXPECT_EQ(frame(view, *t.screen), "");  // nothing changed, nothing sent

    play(t, 'l');
    const std::string move = frame(view, *t.screen);
    EXPECT_LT(move.size(), 100u) << move;
    EXPECT_NE(move.find("\x1b[3;17H\x1b[92m>"), std::string::npos) << move;  // on seat 1
    EXPECT_NE(move.find("\x1b[3;2H "), std::string::npos) << move;           // gone from seat 0
    EXPECT_EQ(move.find("\x1b[2J"), std::string::npos);

    // A repaint after invalidation sends the same screen as the first frame did.
    invalidate_view(view);
    TerminalView fresh = make_terminal_view(OUTPUT_UTF8, 1);
    EXPECT_EQ(frame(view, *t.screen), frame(fresh, *t.screen));
}

TEST(Frames, ControlBytesOnTheScreenNeverReachTheTerminal) {
    const Screen s = screen_with("a\x1b[2Jb\x07\x84", 0, 0, ATTR_BRIGHT_WHITE);
    TerminalView view = make_terminal_view(OUTPUT_UTF8, 1);
    const std::string out = frame(view, s);
    EXPECT_EQ(out.find("\x1b[2J", 1), out.find("\x1b[2J"));  // only the frame's own clear
    EXPECT_EQ(out.find('\x07'), std::string::npos);
    EXPECT_NE(out.find("a?[2Jb??"), std::string::npos) << out;
}

TEST(Frames, EveryBackEndPresentsTheScreenTheNoticeOnceOrPlainText) {
    TestGame t = make_game(42);
    draw(t);
    const Screen& s = *t.screen;
    const char* too_small = texts_of(LANGUAGE_ENGLISH).too_small;
    TerminalView view = make_terminal_view(OUTPUT_UTF8, 1);
    std::string out;
    EXPECT_EQ(append_present(view, s, too_small, false, true, out), PRESENT_SCREEN);
    TerminalView fresh = make_terminal_view(OUTPUT_UTF8, 1);
    EXPECT_EQ(out, frame(fresh, s));

    std::string notice;  // too small: the notice, once, and the game forgotten
    EXPECT_EQ(append_present(view, s, too_small, false, false, notice), PRESENT_NOTICE);
    std::string expected = "\x1b[0m\x1b[H\x1b[2J";
    append_text(expected, too_small, OUTPUT_UTF8);
    EXPECT_EQ(notice, expected);
    std::string again;
    EXPECT_EQ(append_present(view, s, too_small, false, false, again), PRESENT_NOTHING);
    EXPECT_EQ(again, "");
    std::string back;  // fits again: the whole screen
    EXPECT_EQ(append_present(view, s, too_small, false, true, back), PRESENT_SCREEN);
    EXPECT_EQ(back, out);

    std::string plain;  // no terminal: text whatever the size
    EXPECT_EQ(append_present(view, s, too_small, true, false, plain), PRESENT_SCREEN);
    EXPECT_EQ(plain.rfind('\f', 0), 0u);
    EXPECT_EQ(plain.find('\x1b'), std::string::npos);

    // A lead byte in the last column (the screen never writes one) is one cell for every
    // encoder: nothing is read past the edge.
    Screen edge = screen_with("", 0, 0, ATTR_GREY);
    edge.cells[0][SCREEN_COLUMNS - 1] = {'\x93', ATTR_GREY, CELL_LEAD};
    EXPECT_EQ(glyph_cells(edge.cells[0], SCREEN_COLUMNS - 1), 1);
    std::string edge_plain;
    append_plain_frame(edge, OUTPUT_UTF8, edge_plain);
    EXPECT_EQ(edge_plain.substr(0, edge_plain.find('\n')), "\f" + std::string(75, ' ') + "?");
}

// Consoles as the VT probe sees them: one interprets the sequence, one accepts VT mode but
// prints the sequence as text, one swallows it, one cannot tell where its cursor is.
struct FakeConsole {
    bool interprets;
    bool prints;
    bool knows_cursor;
    int x = 7;
    int y = 9;
    void place(int to_x, int to_y) {
        x = to_x;
        y = to_y;
    }
    void write(const char* text) {
        if (interprets && std::strcmp(text, VT_PROBE_MOVE) == 0) {
            x = VT_PROBE_X;
            y = VT_PROBE_Y;
        } else if (prints) {
            x += static_cast<int>(std::strlen(text));
        }
    }
    bool where(int& to_x, int& to_y) const {
        to_x = x;
        to_y = y;
        return knows_cursor;
    }
};

TEST(Frames, OnlyAConsoleThatMovesItsCursorIsDrawnWithVtSequences) {
    struct Case {
        FakeConsole console;
        bool vt;
    } cases[] = {
        {{true, false, true}, true},
        {{false, true, true}, false},   // the escape text that Wine's console window printed
        {{false, false, true}, false},  // accepted the mode, did nothing
        {{true, false, false}, false},  // no answer: the console API, never a wait
    };
    for (Case& c : cases) EXPECT_EQ(vt_honoured(c.console), c.vt) << c.console.prints;
}

TEST(Frames, OnlyJapaneseCodesetsGetTheirOwnEncoding) {
    const struct {
        const char* codeset;
        int encoding;
    } cases[] = {
        {"UTF-8", OUTPUT_UTF8},       {"SJIS", OUTPUT_SHIFT_JIS},      {"CP932", OUTPUT_SHIFT_JIS},
        {"EUC-JP", OUTPUT_SHIFT_JIS}, {"EUC-KR", OUTPUT_UTF8},         {"GB2312", OUTPUT_UTF8},
        {"BIG5", OUTPUT_UTF8},        {"ANSI_X3.4-1968", OUTPUT_UTF8},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(output_encoding(codeset_from_name(c.codeset)), c.encoding) << c.codeset;
    }
}

// Decodes a whole input given in pieces, as reads would deliver it.
std::vector<DecodedInput> decode_all(const std::vector<std::string>& pieces,
                                     int codeset = CODESET_UTF8) {
    std::vector<DecodedInput> events;
    std::string pending;
    const auto drain = [&](bool more) {
        DecodedInput in{};
        std::size_t taken;
        while ((taken = decode_input(reinterpret_cast<const unsigned char*>(pending.data()),
                                     pending.size(), more, codeset, in)) > 0) {
            events.push_back(in);
            pending.erase(0, taken);
        }
    };
    for (const std::string& piece : pieces) {
        pending += piece;
        drain(true);
    }
    drain(false);  // no more input: what waits is complete
    return events;
}

std::string keys_of(const std::vector<DecodedInput>& events) {
    std::string keys;
    for (const DecodedInput& e : events) {
        if (e.kind == INPUT_KEY) {
            keys += e.key == KEY_NO_MEANING ? '#' : static_cast<char>(e.key);
        } else {
            keys.append("@")
                .append(std::to_string(e.row))
                .append(";")
                .append(std::to_string(e.column));
        }
    }
    return keys;
}

TEST(KeyDecoder, SequencesAreOneKeyAndRepliesAreNeverKeysHoweverTheInputIsSplit) {
    const std::string input =
        std::string("l\x1b[Az\x1b[2;3R\x1bOPk\x1b[15~") + "あ" + "\x1bx" + "\x1b[1;5Dq";
    const std::string expected = "l#z@2;3#k####q";
    for (std::size_t a = 0; a <= input.size(); ++a) {
        for (std::size_t b = a; b <= input.size(); ++b) {
            const auto events =
                decode_all({input.substr(0, a), input.substr(a, b - a), input.substr(b)});
            ASSERT_EQ(keys_of(events), expected) << "split at " << a << ", " << b;
        }
    }
}

TEST(KeyDecoder, LoneEscapesBrokenSequencesAndGarbage) {
    EXPECT_EQ(keys_of(decode_all({"\x1b"})), "#");  // Escape alone means nothing either
    EXPECT_EQ(keys_of(decode_all({"\x1b\x1b[B"})), "##");
    EXPECT_EQ(keys_of(decode_all({"\x1b[12"})), "#");  // cut off: one key once input ends
    EXPECT_EQ(keys_of(decode_all({"\x1b[1\x01z"})), "#\x01z");
    EXPECT_EQ(keys_of(decode_all({"\x1b[;R", "\x1b[5R", "\x1b[1;2;3R"})), "###");
    EXPECT_EQ(keys_of(decode_all({"\xe3\x81z"})), "#z");  // broken UTF-8 ends early
    EXPECT_EQ(keys_of(decode_all({"\xff\x80\xc0"})), "\xff\x80\xc0");
    const std::string endless = "\x1b[" + std::string(100, '1');
    const auto events = decode_all({endless});
    ASSERT_FALSE(events.empty());
    for (const DecodedInput& e : events) EXPECT_EQ(e.kind, INPUT_KEY);
    EXPECT_EQ(keys_of(decode_all({"\x1b[99999999;2R"})), "#");  // no overflow
}

TEST(KeyDecoder, PendingInputQueuesKeysInOrderAndKeepsTheFirstReply) {
    PendingInput pending{};
    const std::string bytes = "ab\x1b[2;3Rc\x1b[5;5R\x1b[";
    std::memcpy(pending.bytes, bytes.data(), bytes.size());
    pending.length = bytes.size();
    decode_pending(pending, true);
    EXPECT_EQ(pending.length, 2u);  // the start of a sequence waits for more
    EXPECT_EQ(pending.reply.kind, INPUT_POSITION);
    EXPECT_EQ(pending.reply.column, 3);
    std::string keys;
    for (int key = 0; take_key(pending, key);) keys += static_cast<char>(key);
    EXPECT_EQ(keys, "abc");
    decode_pending(pending, false);  // input ended: the rest is one key
    EXPECT_EQ(pending.length, 0u);
    int key = 0;
    EXPECT_TRUE(take_key(pending, key));
    EXPECT_EQ(key, KEY_NO_MEANING);
    EXPECT_FALSE(take_key(pending, key));

    // A thousand keys at once, read as the back ends read (no more than there is room
    // for), taking a key now and then: every one comes out, in order.
    std::string typed;
    for (int i = 0; i < 1000; ++i) typed += "ijklz"[i * 7 % 5];
    std::string taken;
    for (std::size_t at = 0; taken.size() < typed.size();) {
        const std::size_t n = std::min(input_room(pending), typed.size() - at);
        std::memcpy(pending.bytes + pending.length, typed.data() + at, n);
        pending.length += n;
        at += n;
        decode_pending(pending, at < typed.size());
        for (int k = 0; k < 3 && take_key(pending, key); ++k) taken += static_cast<char>(key);
    }
    EXPECT_EQ(taken, typed);
}

TEST(KeyDecoder, ACharacterOfTheLocalesCodesetIsOneKeyWhateverItsBytes) {
    struct Case {
        int codeset;
        std::string typed;
        std::string keys;
    };
    const Case cases[] = {
        // ホ (83 7A) would be z and 人 (90 6C) l if the trail bytes were keys.
        {CODESET_SHIFT_JIS, "\x83\x7a\x90\x6cl\xb1\x81 z", "##l\xb1\x81 z"},
        {CODESET_EUC_JP, "\xa4\xa2\x8e\xb1\x8f\xa2\xafz\xa4l", "###\x7a\xa4l"},
        {CODESET_DOUBLE_BYTE, "\xa4\x6c\x81\x30\x81\x30z\x81\x30l", "##z\x81\x30l"},
        {CODESET_SINGLE_BYTE, "\xe9l\xa4z", "\xe9l\xa4z"},
        {CODESET_UTF8, "\xe3\x81\x82l\x1b\xe3\x81\x82z", "#l#z"},  // Alt with あ too
        {CODESET_SHIFT_JIS, "\x1b\x83\x7az", "#z"},
    };
    for (const Case& c : cases) {
        for (std::size_t a = 0; a <= c.typed.size(); ++a) {
            const auto events = decode_all({c.typed.substr(0, a), c.typed.substr(a)}, c.codeset);
            ASSERT_EQ(keys_of(events), c.keys) << "codeset " << c.codeset << " split at " << a;
        }
    }
    const std::pair<const char*, int> names[] = {
        {"UTF-8", CODESET_UTF8},
        {"ANSI_X3.4-1968", CODESET_UTF8},
        {"SHIFT_JIS", CODESET_SHIFT_JIS},
        {"cp932", CODESET_SHIFT_JIS},
        {"EUC-JP", CODESET_EUC_JP},
        {"GB18030", CODESET_DOUBLE_BYTE},
        {"BIG5-HKSCS", CODESET_DOUBLE_BYTE},
        {"ISO-8859-1", CODESET_SINGLE_BYTE},
    };
    for (const auto& [name, codeset] : names) EXPECT_EQ(codeset_from_name(name), codeset) << name;
}

}  // namespace

namespace {

// The Windows console's key events, as _getch would have given them.
TEST(ConsoleKeys, EventsGiveTheKeysGetchWouldAndNothingElse) {
    constexpr std::uint32_t LEFT_ALT = 0x0002;
    constexpr std::uint32_t RIGHT_ALT_AND_CTRL = 0x0001 | 0x0008;  // AltGr
    const struct {
        ConsoleKeyEvent event;
        int key;
    } cases[] = {
        {{true, 'L', 'l', 0}, 'l'},
        {{false, 'L', 'l', 0}, CONSOLE_NO_KEY},  // a release
        {{true, 0x10, 0, 0}, CONSOLE_NO_KEY},    // Shift on its own
        {{true, 0xA2, 0, 0}, CONSOLE_NO_KEY},    // left Ctrl on its own
        {{true, 0x26, 0, 0}, KEY_NO_MEANING},    // the up arrow
        {{true, 0x74, 0, 0}, KEY_NO_MEANING},    // F5
        {{true, 'Z', 'z', LEFT_ALT}, KEY_NO_MEANING},
        {{true, 'Q', '@', RIGHT_ALT_AND_CTRL}, '@'},
        {{true, 0, 0x3042, 0}, KEY_NO_MEANING},  // あ from the input method: one key
        {{true, 0, 0xD83D, 0}, KEY_NO_MEANING},  // a character outside the BMP...
        {{true, 0, 0xDE00, 0}, CONSOLE_NO_KEY},  // ...is one key, not two
        {{true, 'Z', 0x1A, 0x0008}, 0x1A},       // Ctrl-Z, the console's end of input
    };
    for (const auto& c : cases) {
        EXPECT_EQ(console_event_key(c.event), c.key)
            << "virtual key " << c.event.virtual_key << ", character " << c.event.character;
    }
}

}  // namespace
