// Whether the user's locale speaks Japanese: the help and the usage errors then do too.
// The game's own language is never chosen by the locale.
#pragma once

// True when a locale of this name speaks Japanese ("ja", "ja_JP.UTF-8", ...).
bool locale_is_japanese(const char* name);

// Whether the locale variables (LC_ALL, then LC_MESSAGES, then LANG) say Japanese: 1 yes,
// 0 no, -1 when none of them is set.
int environment_speaks_japanese();
