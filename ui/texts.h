#pragma once

#include <string>
#include <string_view>

// Text rules of the window, kept apart from Win32 so that they read and test as plain functions.

// True when `a` and `b` are equal with the ASCII letters folded to one case.
bool SameTextIgnoringCase(std::wstring_view a, std::wstring_view b);

// Orders without regard to the case of ASCII letters; other characters by their code.
bool LessIgnoringCase(std::wstring_view a, std::wstring_view b);

// True for a name matching "*.cbi" in any letter case.
bool MatchesLibraryMask(std::wstring_view name);

// The folder part of a full file path, without a trailing backslash except for a drive root
// ("C:\tools\a.exe" gives "C:\tools", "C:\a.exe" gives "C:\").
std::wstring FolderOfPath(std::wstring_view path);

// `folder` + "\" + `name`, with no second backslash after a drive root or a trailing backslash.
std::wstring JoinPath(std::wstring_view folder, std::wstring_view name);

// The application's title from its executable's path: the file name up to its first ".", the
// first letter capital and the other letters small ("Sceneryswitch" for sceneryswitch.exe).
std::wstring ApplicationTitle(std::wstring_view executablePath);

// The text of the application's error box: `message` with a full stop, unless it is empty or
// already ends in "." or in a character that sorts below it (a space, "!", ",", "-", ")"...).
std::wstring ErrorBoxText(std::wstring message);
