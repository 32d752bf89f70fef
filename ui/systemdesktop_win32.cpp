#include "ui/systemdesktop.h"

#include <shobjidl.h>

#include "base/error.h"
#include "ui/folders.h"
#include "ui/texts.h"

namespace {

// Releases a COM interface at the end of its scope.
template <typename T> class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() {
        if (pointer_)
            pointer_->Release();
    }
    T* operator->() const { return pointer_; }
    T** operator&() { return &pointer_; }

private:
    T* pointer_ = nullptr;
};

void Check(HRESULT result) {
    if (FAILED(result))
        throw Error("Cannot show the folder dialog (error " + std::to_string(result) + ")");
}

std::wstring FullPath(const std::wstring& path) {
    std::wstring full(GetFullPathNameW(path.c_str(), 0, nullptr, nullptr), L'\0');
    full.resize(GetFullPathNameW(path.c_str(), DWORD(full.size()), full.data(), nullptr));
    return full;
}

} // namespace

std::optional<std::wstring> SystemDesktop::SelectDirectory(const std::wstring& start) {
    ComPtr<IFileOpenDialog> dialog;
    Check(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                           reinterpret_cast<void**>(&dialog)));
    FILEOPENDIALOGOPTIONS options = 0;
    Check(dialog->GetOptions(&options));
    Check(dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST));
    Check(dialog->SetTitle(L"Select Directory"));
    // "\" and other relative starts are resolved against the working directory, as the
    // dialog's caller means them.
    ComPtr<IShellItem> startItem;
    if (SUCCEEDED(SHCreateItemFromParsingName(FullPath(start).c_str(), nullptr, IID_IShellItem,
                                              reinterpret_cast<void**>(&startItem))))
        dialog->SetFolder(startItem.operator->());

    const HRESULT shown = dialog->Show(owner_);
    if (shown == HRESULT_FROM_WIN32(ERROR_CANCELLED))
        return std::nullopt;
    Check(shown);
    ComPtr<IShellItem> chosen;
    Check(dialog->GetResult(&chosen));
    wchar_t* path = nullptr;
    Check(chosen->GetDisplayName(SIGDN_FILESYSPATH, &path));
    std::wstring folder(path);
    CoTaskMemFree(path);
    return folder;
}

void SystemDesktop::ShowErrorMessage(const std::wstring& text) {
    // The error icon given as a user icon: a box with MB_ICONERROR would also sound the alarm.
    MSGBOXPARAMSW box{};
    box.cbSize = sizeof box;
    box.hwndOwner = owner_;
    box.lpszText = text.c_str();
    box.lpszCaption = L"Error";
    box.dwStyle = MB_OK | MB_USERICON;
    box.lpszIcon = IDI_HAND;
    MessageBoxIndirectW(&box);
    ProcessMessages();
}

void SystemDesktop::ShowApplicationError(const std::wstring& text) {
    MessageBoxW(owner_, text.c_str(), ApplicationTitle(ExecutablePath()).c_str(),
                MB_OK | MB_ICONERROR);
}

void SystemDesktop::ProcessMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Left for the message loop, which ends the program.
            PostQuitMessage(int(message.wParam));
            return;
        }
        DispatchWindowMessage(owner_, message);
    }
}

void DispatchWindowMessage(HWND window, MSG& message) {
    if (window && IsDialogMessageW(window, &message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}
