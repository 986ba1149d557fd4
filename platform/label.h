// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QLabel>

namespace platform {

// A caption: plain text (never rich text, whatever a player types) from the top-left corner,
// wrapped at word boundaries, on an opaque background, at the size its window's layout gives it.
class Label : public QLabel {
    Q_OBJECT
public:
    explicit Label(const QString& text, QWidget* parent = nullptr);
};

} // namespace platform
