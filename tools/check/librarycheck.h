// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

namespace lautgarten::check {

// One thing in the picture library that the game would trip over or silently pass by. A hint
// is worth knowing but spoils nothing: a picture the game does not speak, a sound it never plays.
struct Problem {
    QString path;    // relative to the folder holding images/, e.g. "images/a/Foto.jpg"
    QString message; // what is wrong and what to do, for whoever looks after the pictures
    bool hint = false;

    QString line() const {
        return path + (hint ? QStringLiteral(": Hinweis: ") : QStringLiteral(": ")) + message;
    }
};

struct Result {
    QList<Problem> problems;
    int letters = 0;  // the letters the game asks for
    int pictures = 0; // the pictures it finds in their folders
    int words = 0;    // the pictures whose word it can say

    bool hasErrors() const {
        for (const Problem& problem : problems) {
            if (!problem.hint)
                return true;
        }
        return false;
    }
};

// The folder holding images/, from the folder a user named: that folder itself, or the images
// folder inside it.
QString libraryRoot(const QString& folder);

// Looks at the library beside images/ in root the way the game does: the letter pictures, every
// letter folder as the game lists it and every picture in it with its word and names, the two
// faces, and the sounds of the letters and of the feedback.
Result checkLibrary(const QString& root);

} // namespace lautgarten::check
