#include "ui/texts.h"

#include <algorithm>

namespace {

wchar_t FoldCase(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? wchar_t(c - L'A' + L'a') : c;
}

wchar_t UpperCase(wchar_t c) {
    return c >= L'a' && c <= L'z' ? wchar_t(c - L'a' + L'A') : c;
}

} // namespace

bool SameTextIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](wchar_t x, wchar_t y) { return FoldCase(x) == FoldCase(y); });
}

bool LessIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(),
        [](wchar_t x, wchar_t y) { return FoldCase(x) < FoldCase(y); });
}

bool MatchesLibraryMask(std::wstring_view name) {
    constexpr std::wstring_view extension = L".cbi";
    return name.size() >= extension.size() &&
           SameTextIgnoringCase(name.substr(name.size() - extension.size()), extension);
}

std::wstring FolderOfPath(std::wstring_view path) {
    const size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring_view::npos)
        return {};
    const bool driveRoot = slash == 2 && path[1] == L':';
    return std::wstring(path.substr(0, driveRoot ? slash + 1 : slash));
}

std::wstring JoinPath(std::wstring_view folder, std::wstring_view name) {
    std::wstring path(folder);
    if (path.empty() || (path.back() != L'\\' && path.back() != L'/'))
        path += L'\\';
    return path.append(name);
}

std::wstring ApplicationTitle(std::wstring_view executablePath) {
    const size_t slash = executablePath.find_last_of(L"\\/:");
    std::wstring_view name =
        slash == std::wstring_view::npos ? executablePath : executablePath.substr(slash + 1);
    name = name.substr(0, name.find(L'.'));
    std::wstring title;
    for (const wchar_t c : name)
        title += title.empty() ? UpperCase(c) : FoldCase(c);
    return title;
}

std::wstring ErrorBoxText(std::wstring message) {
    if (!message.empty() && message.back() > L'.')
        message += L'.';
    return message;
}
