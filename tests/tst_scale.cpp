// SPDX-License-Identifier: Apache-2.0
// The game on one real screen size, which ctest sets for each run of this suite (the offscreen
// platform with a configured screen, or Xvfb with a panel): start-up finds the scale as the
// program does, and every window is checked as a child would meet it.
#include "game/form1.h"
#include "platform/scale.h"
#include "testsupport.h"

#include <QAbstractTextDocumentLayout>
#include <QScreen>
#include <QStyleHints>
#include <QTest>
#include <QTextBlock>
#include <memory>

using lautgarten::Form1;
using platform::scale;

namespace {

// Every control of a window, by the name and index the layout gives it.
QMap<QString, QWidget*> controls(QWidget* window) {
    QMap<QString, QWidget*> found;
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (!control->objectName().isEmpty() &&
            !control->objectName().startsWith(QLatin1String("qt_")))
            found.insert(control->objectName() + control->property("Index").toString(), control);
    }
    return found;
}

QRect onScreen(const QWidget* control) {
    return {control->mapToGlobal(QPoint(0, 0)), control->size()};
}

// A picture's centre as the child sees it: the picture is drawn from its box's top-left
// corner at its own size times the scale.
QPoint pictureCentre(const platform::PictureBox& box) {
    const QSizeF drawn = QSizeF(box.picture().pixmap.size()) * scale();
    return box.mapToGlobal(QPointF(drawn.width() / 2, drawn.height() / 2)).toPoint();
}

QWidget* windowOf(Form1& form, const QString& name) {
    if (name == QLatin1String("Form2"))
        return &form.Form2.get();
    if (name == QLatin1String("Form3"))
        return &form.Form3.get();
    if (name == QLatin1String("Form4"))
        return &form.Form4.get();
    return &form;
}

// A click a moment after the last one, as a child clicks the face that has just opened: a click
// within the double-click interval is taken for the second half of the one before.
void clickOnScreen(QWidget* window, QPoint global) {
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                      window->windowHandle()->mapFromGlobal(global),
                      QGuiApplication::styleHints()->mouseDoubleClickInterval() + 1);
}

} // namespace

class TestScale : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    // The scale is the largest at which the page fits the maximized main window, and the page
    // sits centred in it.
    void largestScaleCentred();
    // Every control of every window lies inside the screen's free area and inside its window,
    // at its designed place times the scale; no text needs more room than its box.
    void windowInsideScreen_data();
    void windowInsideScreen();
    // A click at the centre of each answer picture reaches that picture (the face that answers
    // tells which), and a click on the centre of the face closes it.
    void clicksReachPictures();

private:
    QRect maximized;
    std::unique_ptr<Form1> form;
    std::unique_ptr<Form1> designed; // the same windows at a scale of 1
};

void TestScale::initTestCase() {
    const QString images = QStringLiteral(LAUTGARTEN_SOURCE_DIR);
    designed = std::make_unique<Form1>(platform::AppInfo{images});
    for (const char* window : {"Form2", "Form3", "Form4"})
        windowOf(*designed, QString::fromLatin1(window));
    maximized = platform::fitToScreen(Form1::PageTwips);
    const QScreen* screen = QGuiApplication::primaryScreen();
    qInfo("screen %dx%d, free %dx%d, device pixel ratio %g: scale %.4f", screen->size().width(),
          screen->size().height(), screen->availableSize().width(),
          screen->availableSize().height(), screen->devicePixelRatio(), scale());
    form = std::make_unique<Form1>(platform::AppInfo{images});
    testsupport::startGame(*form);
    form->Timer1.setEnabled(false); // no end of the game in between
    form->setGeometry(maximized);
    form->showMaximized();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    form->Form2->Picture1.setPicture(
        platform::LoadPicture(form->ImagesPath + QStringLiteral("special/lachi.gif")));
    form->Form4->List1.addItem(QStringLiteral("01.12.2026 09:41:07 - Mia - 12 Treffer"));
}

void TestScale::largestScaleCentred() {
    const QSize room = form->size();
    const QRect page = form->PageArea.geometry();
    QVERIFY(room.width() >= page.width() && room.height() >= page.height());
    QVERIFY2(std::min(room.width() - page.width(), room.height() - page.height()) <= 1,
             "the page could be larger");
    QVERIFY(std::abs(page.left() - (room.width() - page.right() - 1)) <= 1);
    QVERIFY(std::abs(page.top() - (room.height() - page.bottom() - 1)) <= 1);
}

void TestScale::windowInsideScreen_data() {
    QTest::addColumn<QString>("window");
    for (const char* window : {"Form1", "Form2", "Form3", "Form4"})
        QTest::newRow(window) << QString::fromLatin1(window);
}

void TestScale::windowInsideScreen() {
    QFETCH(QString, window);
    QWidget* shown = windowOf(*form, window);
    shown->show();
    QVERIFY(QTest::qWaitForWindowExposed(shown));
    const QRect free = shown->screen()->availableGeometry();
    QVERIFY2(free.contains(shown->frameGeometry()), qPrintable(window));

    const QMap<QString, QWidget*> designedControls = controls(windowOf(*designed, window));
    const QMap<QString, QWidget*> scaled = controls(shown);
    QCOMPARE(scaled.keys(), designedControls.keys());
    for (auto it = scaled.cbegin(); it != scaled.cend(); ++it) {
        QWidget* control = it.value();
        const QString name = window + QLatin1Char('.') + it.key();
        QVERIFY2(free.contains(onScreen(control)), qPrintable(name));
        QVERIFY2(shown->rect().contains(QRect(control->mapTo(shown, QPoint()), control->size())),
                 qPrintable(name));
        // Place and size: the designed ones times the scale, to the nearest pixel.
        const QRect at1 = designedControls.value(it.key())->geometry();
        const QRect at = control->geometry();
        for (const auto& [value, designedValue] : {std::pair{at.x(), at1.x()},
                                                   {at.y(), at1.y()},
                                                   {at.width(), at1.width()},
                                                   {at.height(), at1.height()}})
            QVERIFY2(std::abs(value - designedValue * scale()) <= 0.5 + 1e-6, qPrintable(name));
        // The fonts the designs name follow the scale too (in whole pixels, rounded down).
        const int designedFont = designedControls.value(it.key())->font().pixelSize();
        if (designedFont > 0 && control->testAttribute(Qt::WA_SetFont))
            QVERIFY2(std::abs(control->font().pixelSize() - designedFont * scale()) < 1,
                     qPrintable(name));
        // Text: every word within the box's width, all lines within its height.
        if (auto* label = qobject_cast<QLabel*>(control)) {
            const QFontMetrics metrics(label->font());
            for (const QString& word : label->text().split(QLatin1Char(' ')))
                QVERIFY2(metrics.horizontalAdvance(word) <= label->contentsRect().width(),
                         qPrintable(name + QLatin1Char(' ') + word));
            QVERIFY2(label->heightForWidth(label->width()) <= label->height(), qPrintable(name));
        }
        if (auto* button = qobject_cast<QPushButton*>(control))
            QVERIFY2(QFontMetrics(button->font()).horizontalAdvance(button->text()) <
                         button->width(),
                     qPrintable(name));
    }
    // The instructions keep their lines: none wraps, all of them show.
    if (auto* page = qobject_cast<lautgarten::Form3*>(shown)) {
        QTextDocument* text = page->Text2.document();
        qreal height = 2 * text->documentMargin();
        for (QTextBlock line = text->begin(); line.isValid(); line = line.next()) {
            QVERIFY2(line.layout()->lineCount() == 1, qPrintable(line.text()));
            height += text->documentLayout()->blockBoundingRect(line).height();
        }
        QVERIFY(height <= page->Text2.viewport()->height());
    }
    if (shown != form.get())
        shown->hide();
}

void TestScale::clicksReachPictures() {
    for (std::size_t slot = 0; slot < 3; ++slot) {
        const bool right = int16_t(slot) == form->CorrectSlot;
        QString face;
        testsupport::onNext<lautgarten::Form2>([&face](lautgarten::Form2& feedback) {
            face = feedback.Picture1.picture().path.section(QLatin1Char('/'), -1);
            clickOnScreen(&feedback, pictureCentre(feedback.Picture1));
        });
        clickOnScreen(form.get(), pictureCentre(form->Picture2[slot]));
        QCOMPARE(face, right ? QStringLiteral("lachi.gif") : QStringLiteral("weini.gif"));
        QVERIFY(!form->Form2.isLoaded());
    }
}

QTEST_MAIN(TestScale)
#include "tst_scale.moc"
