// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace platform {

// Text to number as the game's clock reads its label; TypeMismatch when the text is no number.
double toNumber(const QString& text);
// Number to text: whole numbers as plain digits ("59"), others with up to 15 digits.
QString numberText(double value);

// Date and time in the user's general date format: short date with a four-digit year, one
// blank, and the time with seconds; at exactly midnight the date stands alone.
QString generalDate(const QDateTime& when, const QLocale& locale = QLocale::system());

} // namespace platform
