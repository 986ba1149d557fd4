#pragma once

#include <array>

namespace lautgarten {

// The letters a page can ask for, entries 1 to 35 of the letter table; entry 0 stays empty and is
// never drawn. "st" stands twice, so it comes up twice as often as any other entry. Each letter
// names its picture images/buchstaben/<letter>.gif and its folder of pictures images/<letter>/.
inline constexpr std::array<const char*, 35> Letters = {
    "a", "b", "ch", "d",  "e",  "f",   "g",  "h",  "i",      "j",      "k",     "l",
    "m", "n", "o",  "p",  "qu", "r",   "s",  "t",  "u",      "v",      "w",     "x",
    "y", "z", "au", "ei", "st", "sch", "sp", "st", "\u00f6", "\u00e4", "\u00fc"};

} // namespace lautgarten
