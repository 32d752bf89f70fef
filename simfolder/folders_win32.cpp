#include "simfolder/folders.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

bool IsDirectory(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::wstring CurrentDirectory() {
    std::wstring folder(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data());
        if (length == 0)
            return {};
        if (length < folder.size()) {
            folder.resize(length);
            return folder;
        }
        // Too small: `length` is the size needed, its NUL included.
        folder.resize(length);
    }
}

std::wstring ProgramFilesX86Folder() {
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_ProgramFilesX86, 0, nullptr, &path)))
        folder = path;
    CoTaskMemFree(path);
    return folder;
}
