// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <array>
#include <cstdint>
#include <functional>

namespace lautgarten {

// One answer picture of a page: the letter whose folder it comes from (an index of the letter
// table), the file picked in that folder (0-based, in the folder's listing) and its box (0, 1, 2).
struct PagePicture {
    int16_t letter = 0;
    int16_t file = 0;
    int16_t slot = 0;
};

// A page: the letter it asks for, then its right picture and its two wrong ones, in the order
// they are drawn.
struct Page {
    int16_t letter = 0;
    std::array<PagePicture, 3> pictures;
};

// What drawing a page needs from the one who shows it. The draws and the library meet step by
// step: the letter picture is loaded before any answer is drawn, and a folder is listed right
// before a file of it is picked, so a broken library stops the page at the same draw as always.
struct PageSteps {
    std::function<double()> Rnd;                                  // the next value in [0, 1)
    std::function<void(int16_t letter)> letterDrawn;              // the page's letter is known
    std::function<int16_t(int16_t letter)> filesIn;               // lists a letter's folder
    std::function<void(const PagePicture& picture)> pictureDrawn; // a picture is decided
};

// Whether the letter at index decoy may stand as a wrong picture on a page for the letter at
// index letter: not the same index, not an entry that begins with the page's entry ("sch" on an
// "s" page, the other "st" on a "st" page), and no entry with a sound that begins with one of the
// page's sounds ("v" on an "f" page, "ei" on an "a" page, "st" on a "sch" page).
bool isDecoy(int16_t letter, int16_t decoy);

// Draws a page: the letter (1 to LetterCount, each with the same chance), the right picture's
// file and box, the first wrong letter (redrawn until it is a decoy), its file and box (redrawn
// until it is free), the second wrong letter (redrawn until it is a decoy other than the first)
// and its file, in the box that is left. The generator gives at least eight values in exactly
// that order.
Page drawPage(const PageSteps& steps);

} // namespace lautgarten
