// What the web page is told about the game, as JSON (Shift-JIS strings, in the words of
// the language asked for). Every fact the page shows comes from here: the page holds no
// rule or text of the game's. The driver hands these over; tests read them directly.
#pragma once

#include <cstdint>
#include <string>

#include "model/game.hpp"

// What the player has seen so far:
//   {"days":[{"day":D,"night":B,"heading":TEXT,"told":[TEXT...],
//             "votes":[NAME|null x10]|null,"hanged":SEAT}...],
//    "winner":"village"|"wolves"|null,"won":TEXT|null,"lastDay":D,"names":[NAME x10],
//    "roles":[ROLE|null x10]}: a day's "told" lines are the story's lines of its morning
// (the attack, the claims) and of its evening (the tally, the hanging), "won" its end. A
// game the wolves won at dawn ends with the night before ("night": true, "day" that
// night's number), the morning after it having never come.
std::string story_json(const Game& game, int language);

// Each card's facts, for its label:
//   [{"seat":0,"name":NAME,"claim":ROLE|null,"black":B,"white":W,"alive":true,
//     "died":{"day":D,"hanged":BOOL}|null,"role":ROLE|null,"cursor":BOOL} x10]
// the roles in words of the language, the true role only after a win.
std::string cards_json(const Game& game, int language);

// The regions of the screen:
//   {"columns":76,"rows":24,"header":[0,1],"cards":{"rows":[2,9],"height":6,"left":1,
//    "width":15,"perRow":5},"panel":{"rows":[15,22],"split":40},"log":23}
// a card with the cursor mark before it is `width` columns from `left`; the panel rows lie
// between the cards and the log line, in two halves.
std::string layout_json();

// Today's village for a Unix time: {"seed":S,"day":N,"month":M,"date":D}, the seed of the
// village of the day in Japan that the time falls on, that day's number since 1970
// (consecutive days, consecutive numbers), and its month and date.
std::string daily_json(std::int64_t unix_seconds);

// The keys by what they do: {"up":"i","left":"j","down":"k","right":"l","choose":"z",
// "again":"r","on":".","seer":"s","medium":"m","black":"b","white":"w","decline":"."}:
// under the rules with lies, the morning's answers (a wolf claims the seer or the medium, or
// declines with any other key, and calls a seat black or white).
std::string keys_json();
