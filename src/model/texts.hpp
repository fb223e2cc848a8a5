// Every word the game shows, one table per language. The language is a choice of the
// drawing, never of the game: the same game draws in either. The screen's layout counts
// Shift-JIS bytes, and an English letter is one byte and one column, so the English table
// keeps every field's width: the cards, the panels and the cursor stand in the same
// columns and rows in both languages. The box lines are layout, not language: both tables
// draw the same ones.
#pragma once

#include <cstdio>
#include <string>

#include "model/game.hpp"

inline constexpr int LANGUAGE_JAPANESE = 0;
inline constexpr int LANGUAGE_ENGLISH = 1;
inline constexpr int ROLE_COUNT = 6;
inline constexpr int PHASE_COUNT = 12;

// A table's formats are printf formats; a field says what it is given. Every row of a card
// is 14 columns, a name at most 10, a glyph exactly 2; a prompt and the log line fit the
// screen's 76 columns, a panel line its half (36 columns).
struct Texts {
    const char* names[SEAT_COUNT];     // at most 10 bytes each
    const char* glyphs[ROLE_COUNT];    // by role code: two columns each
    const char* no_glyph;              // a claim not made, a role not known: two columns
    const char* wolves;                // the header: "the wolves are", then each wolf
    const char* wolf;                  // one wolf of the header, around its name
    const char* prompts[PHASE_COUNT];  // by phase, given the day and the name of the wolf
                                       // about to vote; null for no prompt
    const char* bluff_prompts[4];      // the morning's questions under the rules with lies,
                                       // by kind (QUESTION_...), given the day, the wolf
                                       // asked and the seat hanged the day before
    const char* card_name;             // the card's rows: the name,
    const char* card_claim;            // the claim's glyph,
    const char* card_counts;           // the seer's black and white verdicts on the seat,
    const char* card_blank;            // nothing (a living seat), or how it died, given
    const char* card_killed;           // the night of the attack
    const char* card_hanged;           // or the day of the hanging
    const char* found_dead;            // the log lines: the wolves' victim, by name,
    const char* attack_failed;         // an attack the bodyguard turned away,
    const char* was_hanged;            // the hanged seat, by name
    const char* claim_line;            // the claim panel: a claimant's name and glyph,
    const char* madman_call;           // the madman's call, given a name,
    const char* verdict_line;          // a verdict, given the seat judged, then
    const char* black;                 // the verdicts
    const char* white;
    const char* vote_line;  // the vote panel: a voter's name and whom it voted for
    const char* too_small;  // instead of the game while the window is too small
    // The story of a game, told afterwards.
    const char* story_day;               // a day's heading, with its number
    const char* story_night;             // the heading of a night that ended the game
    const char* story_attack_failed;     // the bodyguard turned the attack away, given its victim
    const char* story_vote;              // who voted for whom
    const char* story_tally;             // a seat and its votes
    const char* story_tally_one;         // a seat and its one vote
    const char* story_won[2];            // the village won, the wolves won, given the day
    const char* story_won_at_dawn;       // the wolves won by the night's attack, given the
                                         // night
    const char* role_names[ROLE_COUNT];  // the true roles, in words
    const char* story_role;              // a name and its role
    // The coach's odds beside a choice, in the panel rows (with --coach), 36 columns at most:
    // a name and its chance in the one notation; a mark for each as good as the best.
    const char* odds_line;
    const char* odds_best;
    // On the morning screen under the rules with lies: a choice's words and its chance (a
    // slot of the panel each), and a seat named with a verdict (the seer's: the name, the
    // verdict's mark, the chance); the verdict's marks, human and a wolf.
    const char* odds_choice_line;
    const char* odds_verdict_line;
    const char* verdict_marks[2];
    // The morning's choices in words: no claim, the seer, the medium; a seat called human
    // or a wolf, given the name and the verdict's words.
    const char* claim_choices[3];
    const char* verdict_choice;
    // The review of a game's choices, and the simulator's report.
    const char* review_game;         // a game's heading, with its number
    const char* review_attack;       // an attack, with the night
    const char* review_vote;         // a vote, with the day and the voting wolf
    const char* review_morning[3];   // the morning's questions (a claim, a seer's and a
                                     // medium's verdict), with the day and the wolf asked
    const char* review_choice;       // a choice: a name, its chance and interval, in percent
    const char* review_chosen;       // the choice made
    const char* review_best;         // the best choice, where it was another
    const char* review_best_chosen;  // where the choice made was the best
    const char* review_no_odds;      // a choice the coach has no odds for, with its seat
    const char* review_as_good;      // where it cannot be told from the best's
    const char* review_why;          // the reason of a verdict, given it
    const char* review_read;         // the coach's read of the village, given its list
    const char* review_read_item;    // a seat, the glyph of its likeliest role, its chance
    const char* review_read_none;    // no seat stands out
    const char* review_then;         // what happened next, and the odds before and after
    const char* review_swing;        // a move of the odds of 20 points or more
    const char* review_sums;         // what the choices cost, what luck moved, in points
    const char* review_legend;       // the graph's marks
    const char* review_night_short;  // a night and a day on the graph's axis: at most 3
    const char* review_day_short;    // columns, given the number
    const char* event_killed;        // what the screens showed between two choices
    const char* event_guarded;
    const char* event_claim;        // a claimant, the role
    const char* event_verdict;      // the seer, the seat, the verdict
    const char* event_medium;       // the medium, the seat hanged, the verdict
    const char* event_call;         // the madman, the seat he calls for
    const char* event_hanged;       // the seat, its votes
    const char* event_tie;          // the seat, the votes of each tied seat
    const char* event_join;         // between two events
    const char* verdict_words[2];   // a verdict in words: human, a wolf
    const char* review_marks[3];    // inaccuracy, mistake, blunder
    const char* review_accuracy;    // after a game: its accuracy in percent, and what it means
    const char* review_unfinished;  // a game not decided when the record ends
    const char* review_graph;       // the heading of the odds across the game
    const char* practice_found;     // practice: the choice and the best, found
    const char* practice_missed;    // or not
    const char* practice_ask;       // the question's number and how many there are
    const char* practice_none;      // a record without a marked choice
    const char* practice_summary;   // how many were found of how many asked
    const char* review_address;     // the page that shows the same review
    // Why one choice beats another (the review's reasons), and the best choice's facts in a
    // few words (the coach beside a game: at most 76 columns). Numbers of votes come as two
    // whole numbers, units and tenths; the arguments come in the same order in every table.
    const char* reason_madman;         // the seat likely the madman, and that chance
    const char* reason_guard;          // a seat and its chance of being guarded, then the best's
    const char* reason_seer;           // the best claims to be the seer
    const char* reason_medium;         // the best claims to be the medium
    const char* reason_pool;           // the best, the seats left to vote with it dead; the other's
    const char* reason_role;           // the best, a role and its chance; the other and its chance
    const char* reason_odds;           // the best and its chance to win; the other and its
    const char* reason_votes_one;      // a seat, its expected votes, its chance of being hanged
    const char* reason_own_wolf;       // a wolf of the player's; the best's votes
    const char* reason_claimant;       // a claimant and the role claimed; the best's votes
    const char* reason_cleared;        // a seat the seer cleared; the best's votes
    const char* reason_votes;          // the best's votes; another seat, its votes, its hanging
    const char* facts_attack;          // the best, its likeliest role and chance, its guard chance
    const char* facts_morning;         // a morning's choice, a seat, its chance of being hanged
                                       // today
    const char* reason_morning;        // the best and its seat's chance of being hanged today;
                                       // the other and its seat's; then the rule at work
    const char* reason_rules[3];       // that rule, by question: a claim, a seer's verdict, a
                                       // medium's
    const char* simulate_policies[4];  // random, heuristic, coach, bluff
    const char* simulate_bluff;        // after the heading, under the rules with lies
    const char* simulate_heading;      // the policy, the games and the first seed
    const char* simulate_won;          // the games won, the share and its interval
    const char* simulate_days;         // the mean last day
    const char* simulate_speed;        // games a second, threads
    const char* simulate_partial;      // after the heading of a run stopped early: the games asked
    const char* simulate_progress;     // games done and asked, the win rate in percent, games
                                       // a second, seconds left
};

// A seat's name in a table; empty for -1 or anything that is not a seat.
inline const char* name_of(const Texts& texts, int seat) {
    return is_seat(seat) ? texts.names[seat] : "";
}

// A format of a table filled in: one line, at most 511 bytes.
template <typename... Values>
std::string formatted(const char* format, Values... values) {
    char text[512];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

// The one-character glyph of a role code in a table; the no-claim glyph for -1 or
// anything unknown.
inline const char* role_glyph(const Texts& texts, int code) {
    return code >= 0 && code < ROLE_COUNT ? texts.glyphs[code] : texts.no_glyph;
}

// How a decided game's end is told in a table: the wolves won at dawn (by the night's
// attack, decided on the morning of `day`) or after the day's hanging.
std::string won_text(const Texts& texts, int winner, int day, bool at_dawn);

// The table of a language (Japanese for any value but LANGUAGE_ENGLISH).
const Texts& texts_of(int language);

// The language named "ja" or "en", or -1.
int language_named(const char* name);

// The name of a language: "ja" or "en".
const char* language_code(int language);
