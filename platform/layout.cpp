// SPDX-License-Identifier: Apache-2.0
#include "platform/layout.h"

#include "platform/scale.h"

#include <QEvent>
#include <QFontDatabase>
#include <algorithm>
#include <cmath>

namespace platform {

int twips(int value) {
    return int(std::lround(value * scale() / TwipsPerPixel));
}

void place(QWidget* control, const char* name, const Place& where) {
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(where.pixels());
}

PageArea::PageArea(QWidget* window)
    : QWidget(window) {
    window->installEventFilter(this);
}

void PageArea::setDesignSize(QSize pageTwips) {
    resize(twips(pageTwips.width()), twips(pageTwips.height()));
    centre();
}

bool PageArea::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parent() && event->type() == QEvent::Resize)
        centre();
    return QWidget::eventFilter(watched, event);
}

void PageArea::centre() {
    const QSize room = parentWidget()->size() - size();
    move(std::max(room.width() / 2, 0), std::max(room.height() / 2, 0));
}

QFont designFont(const QString& family, double pointSize, bool bold, bool italic) {
    // "@" marks the vertical-writing variant of a face; the text here is drawn upright.
    const QString designed = family.startsWith(QLatin1Char('@')) ? family.mid(1) : family;
    // A family that is not installed is named by its installed stand-in (installFontSubstitutes):
    // asked for a missing family, Qt first has fontconfig sort every installed face as its
    // fallback, for each style, which costs more than loading the face itself.
    const QStringList installed = QFontDatabase::families();
    const auto installedAs = [&installed](const QString& name) {
        for (const QString& candidate : installed) {
            if (candidate.compare(name, Qt::CaseInsensitive) == 0)
                return candidate;
        }
        return QString();
    };
    QString name = installedAs(designed);
    for (const QString& substitute : QFont::substitutes(designed)) {
        if (name.isEmpty())
            name = installedAs(substitute);
    }
    QFont font(name.isEmpty() ? designed : name);
    // The layouts measure in pixels at 96 dots per inch, so a size in points is taken as there.
    // At the game's scale it becomes whole pixels, rounded down: text widths grow with the pixel
    // size, and a box made as wide as its text at the designed size still holds it.
    const double pixels = pointSize * 96 / 72 * scale();
    font.setPixelSize(std::max(1, int(std::floor(pixels + 1e-9))));
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

void installFontSubstitutes() {
    QFont::insertSubstitutions(QStringLiteral("Verdana"), {QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), {QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial Unicode MS"),
                               {QStringLiteral("Liberation Sans")});
    QFont::insertSubstitutions(QStringLiteral("Comic Sans MS"), {QStringLiteral("Comic Neue")});
    QFont::insertSubstitutions(QStringLiteral("Haettenschweiler"),
                               {QStringLiteral("Yanone Kaffeesatz")});
}

void setColors(QWidget* widget, const QColor& fore, const QColor& back) {
    QPalette pal = widget->palette();
    pal.setColor(QPalette::WindowText, fore);
    pal.setColor(QPalette::Text, fore);
    pal.setColor(QPalette::ButtonText, fore);
    pal.setColor(QPalette::Window, back);
    pal.setColor(QPalette::Base, back);
    widget->setPalette(pal);
    widget->setAutoFillBackground(true);
}

} // namespace platform
