// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "platform/form.h"
#include "platform/layout.h"
#include "platform/picturebox.h"

namespace lautgarten {

class Form1;

// The feedback window: a laughing or crying face, covering the screen; a click on the face
// closes it. Nothing else, no key, no close button, closes it.
class Form2 : public platform::Form {
    Q_OBJECT
public:
    explicit Form2(lautgarten::Form1& owner);

    void Picture1_Click();

    // The face lies where the design puts it on the main window's page, centred as that is.
    platform::PageArea PageArea{this};
    platform::PictureBox Picture1{&PageArea};

    void reject() override {}

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    lautgarten::Form1& Form1;
};

} // namespace lautgarten
