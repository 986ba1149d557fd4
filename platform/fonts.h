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

} // namespace platform
