// SPDX-License-Identifier: Apache-2.0
#include "game/page.h"

#include "game/letters.h"
#include "game/sounds.h"
#include "platform/integer.h"

namespace lautgarten {

using platform::add16;
using platform::draw;
using platform::sub16;

namespace {

const Letter& letterAt(int16_t index) {
    return platform::element(Letters, sub16(index, 1));
}

} // namespace

bool isDecoy(int16_t letter, int16_t decoy) {
    if (decoy == letter)
        return false;
    const Letter& page = letterAt(letter);
    const Letter& wrong = letterAt(decoy);
    if (wrong.text().startsWith(page.text()))
        return false;
    // A child checks a page by ear, and hears the first sound alone: "Vogel" also begins with the
    // sound of an "f" page, "Schaf" with that of a "st" page, "Affe" with that of an "au" page.
    return !firstSoundsMeet(page.soundList(), wrong.soundList());
}

Page drawPage(const PageSteps& steps) {
    const auto drawLetter = [&steps] { return add16(draw(steps.Rnd(), LetterCount), 1); };
    const auto drawSlot = [&steps] { return draw(steps.Rnd(), 3); };

    Page page;
    page.letter = drawLetter();
    steps.letterDrawn(page.letter);

    // The right picture, then the first and the second wrong one.
    auto& [right, first, second] = page.pictures;
    right.letter = page.letter;
    for (std::size_t k = 0; k < 3; ++k) {
        PagePicture& picture = page.pictures[k];
        for (int redraws = 0;; ++redraws) {
            if (k > 0) {
                do {
                    picture.letter = drawLetter();
                } while (!isDecoy(page.letter, picture.letter) ||
                         (k == 2 && picture.letter == first.letter));
            }
            const int16_t files = steps.filesIn(picture.letter);
            picture.file = draw(steps.Rnd(), files);
            if (k == 0 || !steps.namedLikePage || redraws == MostRedrawsForNames ||
                !steps.namedLikePage(page.letter, picture))
                break;
        }

        if (k == 0) {
            picture.slot = drawSlot();
        } else if (k == 1) {
            do {
                picture.slot = drawSlot();
            } while (picture.slot == right.slot);
        } else {
            picture.slot = sub16(sub16(3, right.slot), first.slot);
        }
        steps.pictureDrawn(picture);
    }
    return page;
}

} // namespace lautgarten
