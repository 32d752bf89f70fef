#include "ui/form1window.h"

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>

#include "base/error.h"
#include "base/widetext.h"
#include "ui/systemdesktop.h"
#include "ui/texts.h"

namespace {

constexpr wchar_t kClassName[] = L"TForm1";
constexpr unsigned kDesignDpi = 96;

// A rectangle in design pixels at 96 dpi.
struct DesignRect {
    int left, top, width, height;
};
constexpr DesignRect kForm1{294, 230, 472, 210}; // outer size
constexpr DesignRect kDirectoryEdit1{40, 8, 369, 21};
constexpr DesignRect kFileListBox1{40, 40, 241, 97};
constexpr DesignRect kButton1{320, 32, 75, 25};
constexpr int kLabel1Left = 72, kLabel1Top = 152;
constexpr int kItemHeight = 13;
constexpr int kFontHeight = -11; // "MS Sans Serif" 8 pt

int Scale(int value, unsigned dpi) {
    return MulDiv(value, int(dpi), int(kDesignDpi));
}

void Place(HWND control, const DesignRect& rect, unsigned dpi) {
    SetWindowPos(control, nullptr, Scale(rect.left, dpi), Scale(rect.top, dpi),
                 Scale(rect.width, dpi), Scale(rect.height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
}

// The window's DPI. GetDpiForWindow needs Windows 10, so it is looked up; before it, the
// system DPI is all there is.
unsigned WindowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow =
        reinterpret_cast<GetDpiForWindowFunction>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(window))
            return dpi;
    }
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? unsigned(dpi) : kDesignDpi;
}

std::wstring ControlText(HWND control) {
    std::wstring text(size_t(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(control, text.data(), int(text.size()))));
    return text;
}

HWND CreateControl(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int id,
                   DWORD exStyle = 0) {
    return CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                           parent, reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleW(nullptr),
                           nullptr);
}

void RegisterWindowClass(HINSTANCE instance, WNDPROC windowProc) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    // The program's icon is resource 1; a test program without one gets the system's.
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    windowClass.hIconSm = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                   GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    RegisterClassExW(&windowClass); // fails harmlessly when a second window registers it again
}

} // namespace

Form1Window::Form1Window(HINSTANCE instance, Desktop& desktop, Operations operations,
                         bool endsApplication)
    : desktop_(desktop), form_(*this, std::move(operations)), endsApplication_(endsApplication) {
    RegisterWindowClass(instance, WindowProc);
    window_ = CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, L"Form1",
                              WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, kForm1.left, kForm1.top,
                              kForm1.width, kForm1.height, nullptr, nullptr, instance, this);
    if (!window_)
        throw Error("Cannot create the window");
    CreateControls(instance);
    ApplyDpi(WindowDpi(window_));
    Place(window_, kForm1, dpi_);
    ShowState();
}

Form1Window::~Form1Window() {
    if (window_)
        DestroyWindow(window_);
    if (font_)
        DeleteObject(font_);
}

void Form1Window::CreateControls(HINSTANCE) {
    // Creation order is the tab order: Button1, FileListBox1, DirectoryEdit1.
    button1_ = CreateControl(window_, WC_BUTTONW, L"GO!!!", WS_TABSTOP | BS_PUSHBUTTON, kButton1Id);
    fileListBox1_ =
        CreateControl(window_, WC_LISTBOXW, L"", WS_TABSTOP | WS_VSCROLL | LBS_NOINTEGRALHEIGHT,
                      kFileListBox1Id, WS_EX_CLIENTEDGE);
    // The browse button sits over the field's right end, above it (created first) and out of the
    // tab order; the field leaves it that room and does not paint over it.
    directoryEdit1Button_ =
        CreateControl(window_, WC_BUTTONW, L"...", BS_PUSHBUTTON, kDirectoryEdit1ButtonId);
    directoryEdit1_ =
        CreateControl(window_, WC_EDITW, L"", WS_TABSTOP | WS_CLIPSIBLINGS | ES_AUTOHSCROLL,
                      kDirectoryEdit1Id, WS_EX_CLIENTEDGE);
    SetWindowSubclass(directoryEdit1_, DirectoryEditProc, 0, reinterpret_cast<DWORD_PTR>(this));
    // No SS_NOPREFIX: a single "&" underlines the next character, as in every label.
    label1_ = CreateControl(window_, WC_STATICW, L"", SS_LEFTNOWORDWRAP, kLabel1Id);
    lastFocus_ = button1_;
}

void Form1Window::ApplyDpi(unsigned dpi) {
    if (dpi == dpi_)
        return;
    dpi_ = dpi;
    const HFONT oldFont = font_;
    font_ = CreateFontW(Scale(kFontHeight, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif");
    for (const HWND control :
         {button1_, fileListBox1_, directoryEdit1_, directoryEdit1Button_, label1_})
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    if (oldFont)
        DeleteObject(oldFont);

    Place(button1_, kButton1, dpi);
    Place(fileListBox1_, kFileListBox1, dpi);
    // The font sets the list's item height; the design's height wins.
    SendMessageW(fileListBox1_, LB_SETITEMHEIGHT, 0, Scale(kItemHeight, dpi));
    Place(directoryEdit1_, kDirectoryEdit1, dpi);
    // The button fills the field's inside, at its right end.
    RECT inside;
    GetClientRect(directoryEdit1_, &inside);
    MapWindowPoints(directoryEdit1_, window_, reinterpret_cast<POINT*>(&inside), 2);
    const int buttonWidth = inside.bottom - inside.top + Scale(2, dpi);
    SetWindowPos(directoryEdit1Button_, nullptr, inside.right - buttonWidth, inside.top,
                 buttonWidth, inside.bottom - inside.top, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(directoryEdit1_, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, buttonWidth));
    SizeLabel1();
    InvalidateRect(window_, nullptr, TRUE);
}

void Form1Window::SizeLabel1() {
    const std::wstring text = ControlText(label1_);
    const HDC dc = GetDC(label1_);
    const HGDIOBJ oldFont = SelectObject(dc, font_);
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    // DrawText measures as the label draws: a single "&" takes no room.
    RECT bounds{};
    DrawTextW(dc, text.c_str(), int(text.size()), &bounds, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, oldFont);
    ReleaseDC(label1_, dc);
    SetWindowPos(label1_, nullptr, Scale(kLabel1Left, dpi_), Scale(kLabel1Top, dpi_), bounds.right,
                 std::max<int>(bounds.bottom, metrics.tmHeight), SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(label1_, nullptr, TRUE);
}

void Form1Window::Open(int showCommand) {
    Dispatch(&TForm1::FormCreate);
    ShowWindow(window_, showCommand);
    SetFocus(button1_);
    UpdateWindow(window_);
}

bool Form1Window::Dispatch(void (TForm1::*handler)()) noexcept {
    bool completed = false;
    try {
        ReadControls();
        (form_.*handler)();
        completed = true;
    } catch (const std::exception& error) {
        try {
            ShowApplicationError(ErrorBoxText(FromUtf8(error.what())));
        } catch (...) {
        }
    } catch (...) {
        try {
            ShowApplicationError(L"Unexpected error.");
        } catch (...) {
        }
    }
    try {
        ShowState();
    } catch (...) {
    }
    return completed;
}

void Form1Window::ReadControls() {
    form_.directoryEdit1.text = ControlText(directoryEdit1_);
    const LRESULT selected = SendMessageW(fileListBox1_, LB_GETCURSEL, 0, 0);
    form_.fileListBox1.itemIndex = selected == LB_ERR ? -1 : int(selected);
}

void Form1Window::ShowState() {
    if (ControlText(directoryEdit1_) != form_.directoryEdit1.text)
        SetWindowTextW(directoryEdit1_, form_.directoryEdit1.text.c_str());

    const TFileListBox& list = form_.fileListBox1;
    if (list.Revision() != shownRevision_) {
        SendMessageW(fileListBox1_, WM_SETREDRAW, FALSE, 0);
        SendMessageW(fileListBox1_, LB_RESETCONTENT, 0, 0);
        for (const std::wstring& item : list.Items())
            SendMessageW(fileListBox1_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        SendMessageW(fileListBox1_, LB_SETCURSEL, WPARAM(list.itemIndex), 0);
        SendMessageW(fileListBox1_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(fileListBox1_, nullptr, TRUE);
        shownRevision_ = list.Revision();
    }

    if (ControlText(label1_) != form_.label1Caption) {
        SetWindowTextW(label1_, form_.label1Caption.c_str());
        SizeLabel1();
    }

    if (bool(IsWindowEnabled(button1_)) != form_.button1Enabled) {
        // A disabled control cannot keep the focus: it moves on to the next in the tab order.
        if (!form_.button1Enabled && GetFocus() == button1_)
            SetFocus(GetNextDlgTabItem(window_, button1_, FALSE));
        EnableWindow(button1_, form_.button1Enabled);
    }
}

std::optional<std::wstring> Form1Window::SelectDirectory(const std::wstring& start) {
    ShowState();
    return desktop_.SelectDirectory(start);
}

void Form1Window::ShowErrorMessage(const std::wstring& text) {
    ShowState();
    desktop_.ShowErrorMessage(text);
}

void Form1Window::ShowApplicationError(const std::wstring& text) {
    ShowState();
    desktop_.ShowApplicationError(text);
}

void Form1Window::ProcessMessages() {
    ShowState();
    desktop_.ProcessMessages();
}

LRESULT CALLBACK Form1Window::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<Form1Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Form1Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->HandleMessage(window, message, wParam, lParam);
}

LRESULT Form1Window::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        // IDOK and IDCANCEL come from Enter and Esc outside Button1: they do nothing.
        if (HIWORD(wParam) == BN_CLICKED) {
            if (LOWORD(wParam) == kButton1Id && form_.button1Enabled)
                Dispatch(&TForm1::Button1Click);
            else if (LOWORD(wParam) == kDirectoryEdit1ButtonId)
                Dispatch(&TForm1::DirectoryEdit1ButtonClick);
        }
        return 0;
    case DM_GETDEFID:
        // Enter presses Button1 while it has the focus, as Space does.
        if (GetFocus() == button1_ && IsWindowEnabled(button1_))
            return MAKELRESULT(kButton1Id, DC_HASDEFID);
        return 0;
    case WM_ACTIVATE:
        // Keep the focused control across a switch to another window and back.
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus && IsChild(window_, focus))
                lastFocus_ = focus;
        } else if (lastFocus_ && IsWindow(lastFocus_) && IsWindowEnabled(lastFocus_)) {
            SetFocus(lastFocus_);
            return 0;
        }
        break;
    case WM_DPICHANGED: {
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        ApplyDpi(HIWORD(wParam));
        SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_CLOSE:
        if (Dispatch(&TForm1::FormClose))
            DestroyWindow(window_);
        return 0;
    case WM_NCDESTROY:
        window_ = nullptr;
        if (endsApplication_)
            PostQuitMessage(0);
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK Form1Window::DirectoryEditProc(HWND edit, UINT message, WPARAM wParam,
                                                LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<Form1Window*>(data);
    switch (message) {
    case WM_SYSKEYDOWN:
        if (wParam == VK_DOWN) {
            self->Dispatch(&TForm1::DirectoryEdit1ButtonClick);
            return 0;
        }
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(edit, DirectoryEditProc, 0);
        break;
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

int RunApplication(HINSTANCE instance, int showCommand, Operations operations) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    SystemDesktop desktop;
    int exitCode = 0;
    {
        Form1Window form1(instance, desktop, std::move(operations), true);
        desktop.SetOwner(form1.Handle());
        form1.Open(showCommand);
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0)
            DispatchWindowMessage(form1.Handle(), message);
        exitCode = int(message.wParam);
    }
    CoUninitialize();
    return exitCode;
}
