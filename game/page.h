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
    // Whether a child may call a wrong picture, once its file is picked, by another name that
    // shares its first sound with the page's letter; its letter and file are then drawn again.
    // May be left empty.
    std::function<bool(int16_t page, const PagePicture& picture)> namedLikePage;
};

// How often a wrong picture is drawn again because of its other names before the last one drawn
// stands: a library whose every picture carries such names must not hold the page up for ever.
inline constexpr int MostRedrawsForNames = 50;

// Whether the letter at index decoy may stand as a wrong picture on a page for the letter at
// index letter: not the same index, not an entry that begins with the page's entry ("sch" on an
// "s" page, the other "st" on a "st" page), and no entry whose first sound is one of the page's
// first sounds, either way round ("v" on an "f" page and "f" on a "v" page, "sch" on a "st" page,
// "a" on an "ei" page).
bool isDecoy(int16_t letter, int16_t decoy);

// Draws a page: the letter (1 to LetterCount, each with the same chance), the right picture's
// file and box, the first wrong letter (redrawn until it is a decoy) and its file (both drawn
// again while the picture is named like the page), its box (redrawn until it is free), the second
// wrong letter (redrawn until it is a decoy other than the first) and its file (again both drawn
// again while it is named like the page), in the box that is left. The generator gives at least
// eight values in exactly that order.
Page drawPage(const PageSteps& steps);

} // namespace lautgarten
