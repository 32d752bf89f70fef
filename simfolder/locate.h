#pragma once

#include <string>
#include <string_view>

class Registry;

// Where the simulator's setup records its folder, under HKEY_LOCAL_MACHINE.
inline constexpr std::wstring_view kSimulatorKeyPath =
    L"SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\9.0";
inline constexpr std::wstring_view kExePathValueName = L"EXE Path";
// The simulator's usual installation folder.
inline constexpr std::wstring_view kDefaultSimulatorFolder =
    L"c:\\Program Files\\Microsoft Games\\Flight Simulator 9";

// The usual installation folders, tried in this order when the registry names no folder.
struct UsualFolders {
    std::wstring programFiles;
    // The same folder under the 32-bit Program Files folder, where 64-bit Windows puts the
    // simulator; empty when the system does not say where that is.
    std::wstring programFilesX86;
};

// The usual installation folders of the running system.
UsualFolders SystemUsualFolders();

// The folder of Flight Simulator 9, without a trailing backslash (a drive root keeps its own),
// or empty when none is found. Raises Error when the registry entry has the wrong type.
std::wstring LocateSimulatorFolder();
std::wstring LocateSimulatorFolder(Registry& registry, const UsualFolders& usualFolders);
