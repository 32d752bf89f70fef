#include "ui/texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct TextCase {
    const char* name;
    std::wstring input;
    std::wstring expected;
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << c.name;
}

class ApplicationTitleCases : public testing::TestWithParam<TextCase> {};

TEST_P(ApplicationTitleCases, FromTheExecutableName) {
    EXPECT_EQ(ApplicationTitle(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    , ApplicationTitleCases,
    testing::Values(TextCase{"Program", L"C:\\Tools\\sceneryswitch.exe", L"Sceneryswitch"},
                    TextCase{"CapitalsBecomeSmall", L"D:\\SCENERYSWITCH.EXE", L"Sceneryswitch"},
                    TextCase{"UpToTheFirstDot", L"C:\\a.b\\my.tool.exe", L"My"},
                    TextCase{"NoFolder", L"switch.exe", L"Switch"},
                    TextCase{"NoExtension", L"C:\\x\\fs9Switch", L"Fs9switch"},
                    TextCase{"NonLettersKept", L"C:\\x\\2go-Now.exe", L"2go-now"}),
    [](const auto& info) { return std::string(info.param.name); });

class ErrorBoxTextCases : public testing::TestWithParam<TextCase> {};

TEST_P(ErrorBoxTextCases, FullStopOnlyWhereNeeded) {
    EXPECT_EQ(ErrorBoxText(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    , ErrorBoxTextCases,
    testing::Values(TextCase{"Added", L"File not found", L"File not found."},
                    TextCase{"Empty", L"", L""}, TextCase{"EndsInFullStop", L"Done.", L"Done."},
                    TextCase{"EndsInQuote", L"Invalid data type for 'EXE Path'",
                             L"Invalid data type for 'EXE Path'"},
                    TextCase{"EndsInSpace", L"Stream read error ", L"Stream read error "},
                    TextCase{"EndsInBang", L"Oops!", L"Oops!"},
                    TextCase{"EndsInComma", L"a,", L"a,"}, TextCase{"EndsInHyphen", L"a-", L"a-"},
                    TextCase{"EndsInParenthesis", L"I/O error (32)", L"I/O error (32)"},
                    TextCase{"EndsInSlashAboveDot", L"C:\\fs9/", L"C:\\fs9/."},
                    TextCase{"EndsInDigit", L"I/O error 32", L"I/O error 32."},
                    TextCase{"EndsInNonAscii", L"Fehler \u00e4", L"Fehler \u00e4."}),
    [](const auto& info) { return std::string(info.param.name); });

class FolderOfPathCases : public testing::TestWithParam<TextCase> {};

TEST_P(FolderOfPathCases, KeepsOnlyADriveRootsBackslash) {
    EXPECT_EQ(FolderOfPath(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    , FolderOfPathCases,
    testing::Values(TextCase{"Nested", L"C:\\Tools\\Switch\\a.exe", L"C:\\Tools\\Switch"},
                    TextCase{"DriveRoot", L"C:\\a.exe", L"C:\\"},
                    TextCase{"Network", L"\\\\server\\share\\a.exe", L"\\\\server\\share"},
                    TextCase{"NoFolder", L"a.exe", L""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(JoinPath, OneBackslashBetween) {
    EXPECT_EQ(JoinPath(L"C:\\fs9", L"a.cbi"), L"C:\\fs9\\a.cbi");
    EXPECT_EQ(JoinPath(L"C:\\", L"a.cbi"), L"C:\\a.cbi");
    EXPECT_EQ(JoinPath(L"", L"a.cbi"), L"\\a.cbi");
}

TEST(LibraryNames, MatchTheMaskInAnyCase) {
    for (const wchar_t* name : {L"a.cbi", L"B.CBI", L"Europe.CbI", L".cbi", L"x.y.cbi"})
        EXPECT_TRUE(MatchesLibraryMask(name)) << name;
    for (const wchar_t* name : {L"a.cbix", L"a.cb", L"acbi", L"scenery.cfg", L"a.cbi.bak", L""})
        EXPECT_FALSE(MatchesLibraryMask(name)) << name;
}

TEST(LibraryNames, SortWithoutRegardToCase) {
    std::vector<std::wstring> names{L"b.cbi", L"_x.cbi", L"A.cbi", L"a1.cbi", L"Z.cbi", L"[.cbi"};
    std::sort(names.begin(), names.end(),
              [](const std::wstring& a, const std::wstring& b) { return LessIgnoringCase(a, b); });
    // Letters fold to small ones, so "_" and "[" (between the capitals and the small letters)
    // sort before every letter.
    EXPECT_EQ(names, (std::vector<std::wstring>{L"[.cbi", L"_x.cbi", L"A.cbi", L"a1.cbi", L"b.cbi",
                                                L"Z.cbi"}));
}

TEST(SameText, FoldsOnlyAsciiLetters) {
    EXPECT_TRUE(SameTextIgnoringCase(L"C:\\Program Files\\FS9", L"c:\\program files\\fs9"));
    EXPECT_FALSE(SameTextIgnoringCase(L"C:\\FS9", L"C:\\FS9\\"));
    EXPECT_FALSE(SameTextIgnoringCase(L"\u00c4", L"\u00e4"));
}

} // namespace
