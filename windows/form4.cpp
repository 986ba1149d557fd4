// SPDX-License-Identifier: Apache-2.0
#include "windows/form4.h"

#include "game/form1.h"
#include "platform/clickshield.h"
#include "platform/guard.h"
#include "platform/layout.h"

#include <QStyledItemDelegate>

namespace lautgarten {

using namespace platform;

namespace {

// Draws each line as Form4::lineAsShown gives it.
class ResultLine : public QStyledItemDelegate {
public:
    explicit ResultLine(const Form4& results)
        : QStyledItemDelegate(const_cast<Form4*>(&results))
        , results_(results) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->text = results_.lineAsShown(option->text, option->rect, option->fontMetrics);
    }

private:
    const Form4& results_;
};

// The room a style leaves for an item's text on either side.
int textMargin(const QWidget* list) {
    return list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
}

} // namespace

Form4::Form4(lautgarten::Form1& owner)
    : Form1(owner) {
    setWindowTitle(QStringLiteral("Form4"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_QuitOnClose, false);
    setColors(this, SystemColor::ButtonText, SystemColor::ButtonFace);
    setFixedDesignSize(this, {9375, 5550});

    place(&List1, "List1", {0, 0, 9375, 4890});
    setDesignFont(&List1, QStringLiteral("Haettenschweiler"), 15.75, true, true);
    setColors(&List1, QColor(255, 128, 128), SystemColor::MenuText);
    List1.setFrameShape(QFrame::NoFrame);
    List1.setSelectionMode(QAbstractItemView::NoSelection); // lines are only read
    List1.setTextElideMode(Qt::ElideNone);
    List1.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    List1.setItemDelegate(new ResultLine(*this));

    place(&Command1, "Command1", {0, 4920, 9375, 615});
    setDesignFont(&Command1, QStringLiteral("Verdana"), 14.25, true);
    Command1.setAutoDefault(false);
    connectGuarded(&Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    // It may open over an answer being double-clicked, and the clock opens it while a child
    // may be clicking.
    ClickShield::protect(&Command1);
    setOpensUnasked(true);

    // The bird lies over the right part of the list.
    place(&Picture1, "Picture1", {6960, 960, 1935, 2655});
    Picture1.setBackColor(SystemColor::ButtonText);
    Picture1.setPicture(LoadPicture(QStringLiteral(":/pictures/bird.gif")));
    Picture1.raise();

    setTabOrder(&List1, &Command1);
    setTabOrder(&Command1, &Picture1);
    List1.setFocus();

    // Centred on the screen that shows the main window: the window has no owner to centre on.
    placeOnGameScreen();
}

QString Form4::lineAsShown(int row) const {
    const QListWidgetItem* item = List1.item(row);
    return item ? lineAsShown(item->text(), List1.visualItemRect(item), QFontMetrics(List1.font()))
                : QString();
}

QString Form4::lineAsShown(const QString& line, const QRect& room,
                           const QFontMetrics& metrics) const {
    // The list's width, whatever width the list has given the item itself.
    int right = List1.viewport()->width() - 1;
    // The bird, where the list's lines are drawn.
    const QRect bird = Picture1.geometry().translated(-List1.viewport()->mapTo(this, QPoint()));
    if (bird.top() <= room.bottom() && bird.bottom() >= room.top() && bird.left() > 0)
        right = std::min(right, bird.left() - 1);
    const int width = right + 1 - 2 * textMargin(&List1);
    if (metrics.horizontalAdvance(line) <= width)
        return line;
    // Date and time, " - ", the name, " - ", the hits: the name may itself hold " - ".
    const QString separator = QStringLiteral(" - ");
    const qsizetype nameStart = line.indexOf(separator) + separator.size();
    const qsizetype nameEnd = line.lastIndexOf(separator);
    if (nameStart < separator.size() || nameEnd < nameStart)
        return line;
    const QString before = line.left(nameStart);
    const QString after = line.mid(nameEnd);
    const int left = width - metrics.horizontalAdvance(before) - metrics.horizontalAdvance(after);
    QString name = metrics.elidedText(line.mid(nameStart, nameEnd - nameStart), Qt::ElideMiddle,
                                      std::max(left, 0));
    if (name.isEmpty())
        name = QString(QChar(0x2026)); // still a sign that a name was there
    return before + name + after;
}

// "zurück zum Spiel": the clock runs again from the next interval; hiding ends the wait of
// the game's end, which then resets the clock and the hits.
void Form4::Command1_Click() {
    Form1.Timer1.setEnabled(true);
    setVisible(false);
}

} // namespace lautgarten
