// SPDX-License-Identifier: Apache-2.0
#include "game/form1.h"

#include "game/letters.h"
#include "game/names.h"
#include "game/page.h"
#include "game/voice.h"
#include "platform/guard.h"
#include "platform/icon.h"
#include "platform/integer.h"
#include "platform/layout.h"
#include "platform/picture.h"
#include "platform/speech.h"
#include "platform/text.h"

#include <QApplication>
#include <QDateTime>
#include <utility>
#include <vector>

namespace lautgarten {

using namespace platform;

namespace {

const QColor Orange{255, 128, 0};

} // namespace

Form1::Form1(AppInfo app)
    : App(std::move(app)) {
    installFontSubstitutes();
    // The start page's instructions are the first text a window lays out, and a text box lays its
    // text out in the application's font as soon as it is made: with that font as the
    // application's, the face is opened once, when it is needed.
    QApplication::setFont(designFont(QStringLiteral("Verdana"), 9.75));
    setWindowTitle(QStringLiteral("Lautgarten"));
    setWindowIcon(programIcon());
    resize(twips(PageTwips.width()), twips(PageTwips.height()));
    setColors(this, Qt::black, SystemColor::ActiveTitleText);
    PageArea.setDesignSize(PageTwips);

    place(&Picture4, "Picture4", {360, 360, 615, 495});
    Picture4.setBackColor(SystemColor::ActiveTitleText);
    Picture4.setPicture(LoadPicture(QStringLiteral(":/pictures/house.png")));
    Picture4.setCursor(Qt::PointingHandCursor);

    place(&Label2, "Label2", {240, 960, 1335, 495});
    setDesignFont(&Label2, QStringLiteral("MS Sans Serif"), 8.25, true, true);
    setColors(&Label2, Orange, SystemColor::ActiveTitleText);

    place(&Label3, "Label3", {2520, 360, 615, 615});
    setDesignFont(&Label3, QStringLiteral("@Arial Unicode MS"), 21.75, true);
    setColors(&Label3, Qt::red, SystemColor::ActiveTitleText);

    place(&Picture1, "Picture1", Place::sized(4560, 240, LetterBox));
    Picture1.setBackColor(Qt::white);
    Picture1.setCursor(Qt::PointingHandCursor); // a click says the letter's sound

    place(&Picture3, "Picture3", {14280, 360, 495, 615});
    Picture3.setBackColor(SystemColor::ActiveTitleText);
    Picture3.setPicture(LoadPicture(QStringLiteral(":/pictures/arrow.png")));
    Picture3.setCursor(Qt::PointingHandCursor);

    place(&Label1, "Label1", {14040, 1080, 855, 375});
    setDesignFont(&Label1, QStringLiteral("Comic Sans MS"), 9.75, true, true);
    setColors(&Label1, Orange, SystemColor::ActiveTitleText);

    place(&Label4, "Label4", {480, 2640, 10215, 615});
    setDesignFont(&Label4, QStringLiteral("Arial"), 21.75);
    setColors(&Label4, QColor(192, 0, 0), SystemColor::ActiveTitleText);

    for (int i = 0; i < 3; ++i) {
        PictureBox& box = Picture2[std::size_t(i)];
        place(&box, "Picture2",
              Place::sized(AnswerLeftTwips[std::size_t(i)], AnswerTopTwips, AnswerBox));
        box.setProperty("Index", i);
        box.setBackColor(SystemColor::SelectionText);
        box.setCursor(Qt::PointingHandCursor);
        connectGuarded(&box, &PictureBox::Click, this, [this, i] { Picture2_Click(int16_t(i)); });
        connectGuarded(&box, &PictureBox::MouseRest, this,
                       [this, i] { Picture2_MouseRest(int16_t(i)); });
    }

    setTabOrder(&Picture1, &Picture2[0]);
    setTabOrder(&Picture2[0], &Picture2[1]);
    setTabOrder(&Picture2[1], &Picture2[2]);
    setTabOrder(&Picture2[2], &Picture3);
    setTabOrder(&Picture3, &Picture4);

    connectGuarded(&Picture1, &PictureBox::Click, this, [this] { Picture1_Click(); });
    connectGuarded(&Picture3, &PictureBox::Click, this, [this] { Picture3_Click(); });
    connectGuarded(&Picture4, &PictureBox::Click, this, [this] { Picture4_Click(); });
    connectGuarded(&Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
}

Form1::~Form1() = default;

void Form1::Form_Load() {
    GameSeconds = 60;
    for (std::size_t i = 0; i < Letters.size(); ++i)
        LetterTable[i + 1] = Letters[i].text();
    Rng.Randomize();
    Label3.setText(numberText(GameSeconds));
    BuildPage();
    Form3.Show(true);
    SayLetter(); // the page appears with the main window
}

// The letter picture: its sound once more.
void Form1::Picture1_Click() {
    SayLetter();
}

// "WEITER": a new page, at no cost.
void Form1::Picture3_Click() {
    BuildPage();
}

// "ZUR STARTSEITE": the running game is abandoned, so its hits must not count in the next
// player's result; the page and the name stay until the start page's button.
void Form1::Picture4_Click() {
    Label3.setText(numberText(GameSeconds));
    Timer1.setEnabled(false);
    HitCount = 0;
    Speech::stop(); // nothing goes on speaking behind the start page
    Form3.Show(true);
    SayLetter();
}

void Form1::BuildPage() {
    Rng.Randomize();
    Picture1.setVisible(false);
    ImagesPath = App.Path + QStringLiteral("/images/");

    // The page's four pictures are read side by side while the page is drawn; the boxes get them
    // in the order they were drawn, so a bad file stops the page with the same error, at the same
    // box, as if they had been read one after the other.
    std::vector<std::pair<PictureBox*, PendingPicture>> pictures;
    const auto showPictures = [&pictures] {
        for (auto& [box, picture] : pictures)
            box->setPicture(picture.take());
    };
    Page page;
    try {
        page = drawPage({
            .Rnd = [this] { return Rng.Rnd(); },
            .letterDrawn =
                [&](int16_t letter) {
                    TargetIndex = letter;
                    CurrentLetter = element(LetterTable, TargetIndex);
                    pictures.emplace_back(
                        &Picture1, PendingPicture(ImagesPath + QStringLiteral("buchstaben/") +
                                                      CurrentLetter + QStringLiteral(".gif"),
                                                  LetterBox));
                },
            .filesIn =
                [this](int16_t letter) {
                    File1.setPath(ImagesPath + element(LetterTable, letter));
                    return File1.listCount();
                },
            .pictureDrawn =
                [&](const PagePicture& picture) {
                    FilePick = picture.file;
                    BoxLetter[std::size_t(picture.slot)] = picture.letter;
                    pictures.emplace_back(
                        &element(Picture2, picture.slot),
                        PendingPicture(File1.path() + QLatin1Char('/') + File1.list(FilePick),
                                       AnswerBox));
                },
            .namedLikePage =
                [this](int16_t page, const PagePicture& picture) {
                    const QString file = File1.path() + QLatin1Char('/') + File1.list(picture.file);
                    return PictureNames::of(file).soundLike(page);
                },
        });
    } catch (const RuntimeError&) {
        // The pictures drawn before the step that failed come first, and may be bad too.
        showPictures();
        throw;
    }
    showPictures();
    CorrectSlot = page.pictures[0].slot;
    DecoyIndex1 = page.pictures[1].letter;
    DecoyIndex2 = page.pictures[2].letter;

    Picture1.setVisible(true);
    // A page built behind another window is said when it appears.
    if (isVisible() && !QApplication::activeModalWidget())
        SayLetter();
}

void Form1::SayLetter() {
    Speech::say(Voice::letterSound(ImagesPath, CurrentLetter));
}

void Form1::Picture2_Click(int16_t Index) {
    // The clicked picture's word, and what it begins with: the sound of its own letter, or of
    // the one its names file gives ("Vogel" in the folder v begins with the sound of f).
    const QString clicked = element(Picture2, Index).picture().path;
    const QString anlaut = PictureNames::of(clicked).anlaut;
    const QString heard =
        anlaut.isEmpty() ? element(LetterTable, element(BoxLetter, Index)) : anlaut;
    if (Index == CorrectSlot) {
        HitCount = add16(HitCount, 1);
        PictureBox& face = Form2->Picture1;
        face.setPicture(LoadPicture(ImagesPath + QStringLiteral("special/") +
                                        QStringLiteral("lachi") + QStringLiteral(".gif"),
                                    FaceBox));
        Speech::say(Voice::feedback(true, ImagesPath, clicked, heard));
        Form2.Show(true);
        BuildPage();
    } else {
        PictureBox& face = Form2->Picture1;
        face.setPicture(LoadPicture(ImagesPath + QStringLiteral("special/") +
                                        QStringLiteral("weini") + QStringLiteral(".gif"),
                                    FaceBox));
        Speech::say(Voice::feedback(false, ImagesPath, clicked, heard));
        Form2.Show(true);
        SayLetter(); // back on the page, the child hears what it asks for
    }
}

// The mouse rests on an answer: its word.
void Form1::Picture2_MouseRest(int16_t Index) {
    Speech::say(Voice::word(element(Picture2, Index).picture().path));
}

// One second of the game: the seconds left live only in the text of Label3.
void Form1::Timer1_Timer() {
    Label3.setText(numberText(toNumber(Label3.text()) - 1));
    if (toNumber(Label3.text()) != 0)
        return;

    const QString when = generalDate(QDateTime::currentDateTime());
    const QString line = when + QStringLiteral(" - ") + Label4.text() + QStringLiteral(" - ") +
                         QString::number(HitCount) + QStringLiteral(" Treffer");
    Form4->List1.addItem(line);
    Timer1.setEnabled(false);
    Form2.Unload();
    Speech::stop(); // the feedback's words end with its window
    Form4.Show(false);
    Label3.setText(numberText(GameSeconds));
    HitCount = 0;
    SayLetter(); // the page appears again for the next game
}

} // namespace lautgarten
