// SPDX-License-Identifier: Apache-2.0
#include "platform/label.h"

namespace platform {

Label::Label(const QString& text, QWidget* parent)
    : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setTextInteractionFlags(Qt::NoTextInteraction);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setAutoFillBackground(true);
    setText(text);
}

} // namespace platform
