#include "ui/folders.h"

#include <windows.h>

#include "ui/texts.h"

std::wstring SimulatorFolder;
std::wstring ProgramFolder;

std::wstring ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (size < path.size()) {
            path.resize(size);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

unsigned long SetWorkingDirectory(const std::wstring& folder) {
    if (folder.empty())
        return ERROR_PATH_NOT_FOUND;
    return SetCurrentDirectoryW(folder.c_str()) ? 0 : GetLastError();
}

std::vector<std::wstring> ListLibraryFiles(const std::wstring& folder) {
    std::vector<std::wstring> names;
    // Every name, filtered here: a "*.cbi" pattern would also match the short names of longer
    // extensions such as ".cbix".
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileExW(JoinPath(folder, L"*").c_str(), FindExInfoBasic, &found,
                                           FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    constexpr DWORD skipped =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    do {
        if (!(found.dwFileAttributes & skipped) && MatchesLibraryMask(found.cFileName))
            names.emplace_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}
