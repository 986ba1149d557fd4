// SPDX-License-Identifier: Apache-2.0
#include "platform/layout.h"

#include "platform/fonts.h"
#include "platform/scale.h"

#include <QEvent>
#include <QFontDatabase>
#include <algorithm>
#include <cmath>

namespace platform {

int twips(int value) {
    return int(std::lround(value * scale() / TwipsPerPixel));
}

namespace {

// Where a control keeps its design: its place, its font, its fixed size.
constexpr char PlaceProperty[] = "lautgartenPlace";
constexpr char FontProperty[] = "lautgartenFont";
constexpr char SizeProperty[] = "lautgartenSize";

} // namespace

void place(QWidget* control, const char* name, const Place& where) {
    control->setObjectName(QString::fromLatin1(name));
    control->setProperty(PlaceProperty, QRect(where.left, where.top, where.width, where.height));
    control->setGeometry(where.pixels());
}

void setDesignFont(QWidget* control, const QString& family, double pointSize, bool bold,
                   bool italic) {
    QFont design(family);
    design.setPointSizeF(pointSize);
    design.setBold(bold);
    design.setItalic(italic);
    control->setProperty(FontProperty, design);
    control->setFont(designFont(family, pointSize, bold, italic));
}

void setFixedDesignSize(QWidget* window, QSize sizeTwips) {
    window->setProperty(SizeProperty, sizeTwips);
    window->setFixedSize(twips(sizeTwips.width()), twips(sizeTwips.height()));
}

void layOutAgain(QWidget* window) {
    if (const QSize size = window->property(SizeProperty).toSize(); size.isValid())
        setFixedDesignSize(window, size);
    QList<QWidget*> controls = window->findChildren<QWidget*>();
    controls.prepend(window);
    for (QWidget* control : controls) {
        if (const QRect where = control->property(PlaceProperty).toRect(); where.isValid())
            control->setGeometry(
                Place{where.x(), where.y(), where.width(), where.height()}.pixels());
        if (const QVariant font = control->property(FontProperty); font.isValid()) {
            const QFont design = font.value<QFont>();
            control->setFont(
                designFont(design.family(), design.pointSizeF(), design.bold(), design.italic()));
        }
    }
    // Pages last: each is centred in a window that has its size by now. (A page has no meta-object
    // of its own for findChildren to tell it by.)
    for (QWidget* control : controls) {
        if (auto* page = dynamic_cast<PageArea*>(control))
            page->setDesignSize(page->designSize());
    }
    window->update();
}

PageArea::PageArea(QWidget* window)
    : QWidget(window) {
    window->installEventFilter(this);
}

void PageArea::setDesignSize(QSize pageTwips) {
    pageTwips_ = pageTwips;
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
    finishReadingFontConfiguration();
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
