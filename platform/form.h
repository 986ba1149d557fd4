// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

namespace platform {

// A secondary window. It is shown modally and returns when hidden or unloaded; one that is
// unloaded while its own modal loop is still running is hidden at once and deleted only after
// that loop has returned, so nothing is deleted under a running loop.
class Form : public QDialog {
    Q_OBJECT
public:
    using QDialog::QDialog;

    // Shows the window modally and waits until it is hidden or unloaded.
    void showModal();
    bool isInModalLoop() const { return modalDepth_ > 0; }
    // Called by the owner on unload, after it has let go of the window.
    void discard();
    // Puts the window on the screen that shows the main window (platform/scale.h): centred, or
    // covering it where the window is maximized.
    void placeOnGameScreen();
    // The window opens by itself, not on a click: presses just after it appears are not clicks
    // (platform/clickshield.h).
    void setOpensUnasked(bool unasked) { opensUnasked_ = unasked; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    int modalDepth_ = 0;
    bool discarded_ = false;
    bool opensUnasked_ = false;
};

// Owns one secondary window: creates it from its design on first use and discards it on
// Unload, so that the next use starts again from the window as its constructor lays it out.
template <class T> class FormSlot {
public:
    explicit FormSlot(std::function<T*()> create)
        : create_(std::move(create)) {}
    ~FormSlot() { Unload(); }
    FormSlot(const FormSlot&) = delete;
    FormSlot& operator=(const FormSlot&) = delete;

    T& get() {
        if (!form_)
            form_.reset(create_());
        return *form_;
    }
    T* operator->() { return &get(); }
    bool isLoaded() const { return form_ != nullptr; }

    // Modal Show. A window that is closed by other means than its own code (the window
    // manager's close button) counts as unloaded when unloadWhenClosed is set.
    void Show(bool unloadWhenClosed) {
        T* shown = &get();
        shown->showModal();
        if (unloadWhenClosed && form_.get() == shown && !shown->isVisible())
            Unload();
    }

    // Discards the window and its contents; nothing happens when it is not loaded.
    void Unload() {
        if (form_)
            form_.release()->discard();
    }

private:
    std::function<T*()> create_;
    std::unique_ptr<T, void (*)(T*)> form_{nullptr, [](T* form) { form->discard(); }};
};

} // namespace platform
