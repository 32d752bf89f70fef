#pragma once

#include <windows.h>

#include "ui/desktop.h"

// The system's folder dialog and message boxes, owned by one window.
class SystemDesktop : public Desktop {
public:
    // The window that owns the dialogs and whose keyboard navigation the message pump serves.
    void SetOwner(HWND owner) { owner_ = owner; }
    HWND Owner() const { return owner_; }

    std::optional<std::wstring> SelectDirectory(const std::wstring& start) override;
    void ShowErrorMessage(const std::wstring& text) override;
    void ShowApplicationError(const std::wstring& text) override;
    void ProcessMessages() override;

private:
    HWND owner_ = nullptr;
};

// Hands one message to `window`'s keyboard navigation, else to its target window.
void DispatchWindowMessage(HWND window, MSG& message);
