// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "game/letters.h"
#include "platform/app.h"
#include "platform/filelistbox.h"
#include "platform/form.h"
#include "platform/label.h"
#include "platform/layout.h"
#include "platform/picturebox.h"
#include "platform/random.h"
#include "platform/timer.h"
#include "windows/form2.h"
#include "windows/form3.h"
#include "windows/form4.h"

#include <QWidget>
#include <array>
#include <cstdint>

namespace lautgarten {

// The main window: the page of the game (a letter and three pictures), the seconds left, the
// player's name, the buttons "WEITER" and "ZUR STARTSEITE". It owns all game state and the
// three other windows, and hands itself to them.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(platform::AppInfo app = platform::AppInfo::fromExecutable());
    ~Form1() override;

    void Form_Load();
    void Picture1_Click();
    void Picture2_Click(int16_t Index);
    void Picture2_MouseRest(int16_t Index);
    void Picture3_Click();
    void Picture4_Click();
    void Timer1_Timer();

    // Game state.
    int16_t TargetIndex = 0;
    QString CurrentLetter;
    int16_t FilePick = 0;
    std::array<QString, LetterCount + 1> LetterTable; // entry 0 stays empty
    QString ImagesPath;
    int16_t DecoyIndex1 = 0;
    int16_t DecoyIndex2 = 0;
    int16_t CorrectSlot = 0;
    int16_t HitCount = 0;
    // The letter table index of each box's picture, for what the game says of it.
    std::array<int16_t, 3> BoxLetter{};
    int16_t GameSeconds = 0;

    // The page the controls lie on: the window's designed size, centred in the maximized window.
    static constexpr QSize PageTwips{15120, 10785};
    // Where the three answer boxes lie on the page, in twips; scripts/test-windows aims here too.
    static constexpr std::array<int, 3> AnswerLeftTwips{480, 5610, 10800};
    static constexpr int AnswerTopTwips = 5400;
    platform::PageArea PageArea{this};

    // Controls, top strip first.
    platform::PictureBox Picture4{&PageArea};
    platform::Label Label2{QStringLiteral("ZUR STARTSEITE"), &PageArea};
    platform::Label Label3{QStringLiteral("60"), &PageArea};
    platform::PictureBox Picture1{&PageArea};
    platform::PictureBox Picture3{&PageArea};
    platform::Label Label1{QStringLiteral("WEITER"), &PageArea};
    platform::Label Label4{QStringLiteral("Namefeld"), &PageArea};
    platform::FileListBox File1;
    std::array<platform::PictureBox, 3> Picture2{{platform::PictureBox{&PageArea},
                                                  platform::PictureBox{&PageArea},
                                                  platform::PictureBox{&PageArea}}};
    platform::Timer Timer1{1000, this};

    // The other windows, created on first use.
    platform::FormSlot<lautgarten::Form2> Form2{[this] { return new lautgarten::Form2(*this); }};
    platform::FormSlot<lautgarten::Form3> Form3{[this] { return new lautgarten::Form3(*this); }};
    platform::FormSlot<lautgarten::Form4> Form4{[this] { return new lautgarten::Form4(*this); }};

    platform::AppInfo App;
    platform::Random Rng;

private:
    void BuildPage();
    // Says the page's sound: the page has appeared, or the child asks for it again.
    void SayLetter();
};

} // namespace lautgarten
