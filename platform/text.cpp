// SPDX-License-Identifier: Apache-2.0
#include "platform/text.h"

#include "platform/runtimeerror.h"

#include <QRegularExpression>

namespace platform {

double toNumber(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok)
        throw RuntimeError(ErrorNumber::TypeMismatch);
    return value;
}

QString numberText(double value) {
    return QString::number(value, 'g', 15);
}

QString generalDate(const QDateTime& when, const QLocale& locale) {
    // The short date of most locales has a two-digit year; results kept for years need four.
    QString dateFormat = locale.dateFormat(QLocale::ShortFormat);
    if (!dateFormat.contains(QLatin1String("yyyy")))
        dateFormat.replace(QRegularExpression(QStringLiteral("y+")), QStringLiteral("yyyy"));
    QString text = locale.toString(when.date(), dateFormat);
    const QTime time = when.time();
    if (time.hour() == 0 && time.minute() == 0 && time.second() == 0)
        return text;
    // The long time format carries the time zone; the result line wants only the time.
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QRegularExpression(QStringLiteral("\\s*\\(?t+\\)?")));
    return text + QLatin1Char(' ') + locale.toString(time, timeFormat.trimmed());
}

} // namespace platform
