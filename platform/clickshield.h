// SPDX-License-Identifier: Apache-2.0
#pragma once

class QInputEvent;
class QWidget;

namespace platform {

// Children double-click. The first click opens or closes a window, and the second would act on
// whatever now lies beneath the pointer: the face that opened over the answers, the answers under
// a window that closed. A press that comes within the platform's double-click interval of the
// last mouse input before a window opened or closed is not a click.
namespace ClickShield {

// A window opened or closed (Form::showModal calls it on both).
void windowChanged();
// A window that opens by itself, not on a click (the clock's results), has appeared: a child
// clicking busily as it opens did not see it, so presses within the double-click interval after it
// are not clicks either.
void windowAppearedUnasked();
// Whether a press belongs to the click that changed the windows.
bool tooSoon(const QInputEvent* press);
// Lets control (a button) ignore presses that come too soon.
void protect(QWidget* control);

} // namespace ClickShield

} // namespace platform
