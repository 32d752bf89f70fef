#pragma once

#include <windows.h>

#include "ui/desktop.h"
#include "ui/form1.h"

// The controls' identifiers, also for driving the window by messages.
enum ControlId : int {
    kButton1Id = 100,
    kFileListBox1Id,
    kDirectoryEdit1Id,
    kDirectoryEdit1ButtonId,
    kLabel1Id,
};

// Form1 as a real window: creates the controls, shows TForm1's state in them and routes their
// events to its handlers. It is the dispatch boundary: every error that escapes a handler ends
// here, in the application's error box.
class Form1Window final : private Desktop {
public:
    // Creates the window and its controls, hidden; FormCreate has not run yet. With
    // `endsApplication` closing the window ends the message loop.
    Form1Window(HINSTANCE instance, Desktop& desktop, Operations operations, bool endsApplication);
    Form1Window(const Form1Window&) = delete;
    Form1Window& operator=(const Form1Window&) = delete;
    ~Form1Window() override;

    // Runs FormCreate, then shows the window with the focus on Button1.
    void Open(int showCommand);

    HWND Handle() const { return window_; }
    TForm1& Form() { return form_; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK DirectoryEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                              UINT_PTR, DWORD_PTR self);
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    void CreateControls(HINSTANCE instance);
    void ApplyDpi(unsigned dpi);
    void SizeLabel1();
    // Runs a handler with the controls' state read in before and shown after; catches all.
    bool Dispatch(void (TForm1::*handler)()) noexcept;
    void ReadControls();
    void ShowState();

    // Desktop, for TForm1: shows the state first, so that boxes and repaints show it too.
    std::optional<std::wstring> SelectDirectory(const std::wstring& start) override;
    void ShowErrorMessage(const std::wstring& text) override;
    void ShowApplicationError(const std::wstring& text) override;
    void ProcessMessages() override;

    Desktop& desktop_;
    TForm1 form_;
    bool endsApplication_;
    HWND window_ = nullptr;
    HWND directoryEdit1_ = nullptr;
    HWND directoryEdit1Button_ = nullptr;
    HWND fileListBox1_ = nullptr;
    HWND button1_ = nullptr;
    HWND label1_ = nullptr;
    HWND lastFocus_ = nullptr;
    HFONT font_ = nullptr;
    unsigned dpi_ = 0; // none yet: the first ApplyDpi sets everything up
    unsigned shownRevision_ = 0;
};

// The program: Form1 with the system's dialogs, FormCreate, and the message loop until the
// window is closed. Returns the exit code.
int RunApplication(HINSTANCE instance, int showCommand, Operations operations);
