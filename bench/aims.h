// SPDX-License-Identifier: Apache-2.0
#pragma once

// Where the benchmarks that drive the real program under X aim: the windows' controls in screen
// pixels, at the scale the program finds.

#include "game/form1.h"
#include "game/letters.h"
#include "platform/layout.h"
#include "platform/scale.h"

#include <QPoint>
#include <QRect>
#include <QSize>

namespace bench {

// The places of what the clicks aim at in the windows' layouts, in twips.
constexpr QRect NameBox{120, 5760, 3855, 525}; // start page, Text1
constexpr QPoint FaceAt{4560, 2400};           // feedback window, Picture1

// The same in screen pixels, at the scale the program finds: its own Xvfb has no window manager,
// so the main window's page fits the whole screen. The main window and the feedback window
// cover the screen with their pages centred in it.
struct Aims {
    QPoint nameBox;     // in the start page
    int answerLefts[3]; // in the main window
    int answerTop, answerWidth, answerHeight;
    QPoint face; // in the feedback window

    explicit Aims(QSize screen) {
        platform::setScale(platform::fittingScale(lautgarten::Form1::PageTwips, screen));
        using platform::twips;
        const QSize page(twips(lautgarten::Form1::PageTwips.width()),
                         twips(lautgarten::Form1::PageTwips.height()));
        const QPoint origin((screen.width() - page.width()) / 2,
                            (screen.height() - page.height()) / 2);
        nameBox = QPoint(twips(NameBox.x()) + twips(NameBox.width()) / 2,
                         twips(NameBox.y()) + twips(NameBox.height()) / 2);
        for (int i = 0; i < 3; ++i)
            answerLefts[i] = origin.x() + twips(lautgarten::Form1::AnswerLeftTwips[std::size_t(i)]);
        answerTop = origin.y() + twips(lautgarten::Form1::AnswerTopTwips);
        answerWidth = twips(lautgarten::AnswerBox.width() * platform::TwipsPerPixel);
        answerHeight = twips(lautgarten::AnswerBox.height() * platform::TwipsPerPixel);
        face =
            origin + QPoint(twips(FaceAt.x()) +
                                twips(lautgarten::FaceBox.width() * platform::TwipsPerPixel) / 2,
                            twips(FaceAt.y()) +
                                twips(lautgarten::FaceBox.height() * platform::TwipsPerPixel) / 2);
    }
};

} // namespace bench
