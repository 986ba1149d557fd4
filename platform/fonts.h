// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// Fonts that travel beside the program. Where a designed face is not installed (Haettenschweiler
// comes with Microsoft Office, not with Windows), the Windows build ships its substitute in a
// "fonts" folder beside the program; every font file there joins the program's fonts at start,
// and the substitution table of installFontSubstitutes() lets it stand in only where the designed
// face is missing. A missing folder (a build on Linux, whose substitutes are system packages)
// loads nothing; a file that is no font is passed over. Returns the families loaded.
QStringList loadFontsFrom(const QString& folder);

// The system's font configuration (fontconfig's files and its list of every installed font) is
// read once, when the first font is asked for: the largest single part of a start. Read on a
// thread of its own from the start of the program, it overlaps the making of the application.
// Whatever asks Qt for fonts first waits for it with finishReadingFontConfiguration() (designFont
// and loadFontsFrom do); where the platform has no fontconfig, both do nothing.
void startReadingFontConfiguration();
void finishReadingFontConfiguration();

} // namespace platform
