// Against the registry and the drive C: of the private Wine prefix the tests run in.
#include "simfolder/locate.h"

#include <gtest/gtest.h>

#include "scratch.h"
#include "simfolder/registry.h"
#include "simulatorkey.h"

namespace {

using namespace std::string_literals;

const std::wstring kExePath = L"EXE Path";

std::wstring Substitute(std::wstring text, const std::wstring& root) {
    for (size_t at; (at = text.find(L"{root}")) != std::wstring::npos;)
        text.replace(at, 6, root);
    return text;
}

enum class Setup { Value, ValueMissing, KeyMissing };

// Paths name {root}, a scratch folder holding the folders sim, usual, "usual (x86)", "%SIMTEST%"
// and work (the working directory, with SCENEDB); SIMTEST is set to "sim".
struct ValueCase {
    const char* name;
    Setup setup = Setup::Value;
    DWORD type = REG_SZ;
    std::wstring data = {}; // stored as these UTF-16 units, no NUL added
    bool strayByte = false;
    std::wstring expected = {};
    const char* error = nullptr;
};

const char kWrongType[] = "Invalid data type for 'EXE Path'";

const ValueCase kValueCases[] = {
    {.name = "PlainFolder", .data = L"{root}\\sim\0"s, .expected = L"{root}\\sim"},
    {.name = "OneTrailingBackslashRemoved",
     .data = L"{root}\\sim\\\0"s,
     .expected = L"{root}\\sim"},
    {.name = "OnlyOneOfTwoBackslashesRemoved",
     .data = L"{root}\\sim\\\\\0"s,
     .expected = L"{root}\\sim\\"},
    {.name = "DriveRootLosesItsBackslash", .data = L"c:\\\0"s, .expected = L"c:"},
    {.name = "ExpandableStringTakenAsStored",
     .type = REG_EXPAND_SZ,
     .data = L"{root}\\%SIMTEST%\\\0"s,
     .expected = L"{root}\\%SIMTEST%"},
    {.name = "NoTerminatingNul", .data = L"{root}\\sim\\"s, .expected = L"{root}\\sim"},
    {.name = "EndsAtFirstNul",
     .data = L"{root}\\sim\0{root}\\usual\0"s,
     .expected = L"{root}\\sim"},
    {.name = "StrayByteIgnored",
     .data = L"{root}\\sim"s,
     .strayByte = true,
     .expected = L"{root}\\sim"},
    {.name = "EmptyMeansUsualFolder", .data = L"\0"s, .expected = L"{root}\\usual"},
    {.name = "ZeroSizeMeansUsualFolder", .data = L""s, .expected = L"{root}\\usual"},
    {.name = "ZeroSizeOfAnyTypeMeansUsualFolder",
     .type = REG_DWORD,
     .data = L""s,
     .expected = L"{root}\\usual"},
    {.name = "MissingValueMeansUsualFolder",
     .setup = Setup::ValueMissing,
     .expected = L"{root}\\usual"},
    {.name = "MissingKeyMeansUsualFolder",
     .setup = Setup::KeyMissing,
     .expected = L"{root}\\usual"},
    {.name = "FolderGoneMeansWorkingDirectory",
     .data = L"{root}\\gone\\\0"s,
     .expected = L"{root}\\work"},
    {.name = "DwordRaises", .type = REG_DWORD, .data = L"\x1\0"s, .error = kWrongType},
    {.name = "BinaryRaises", .type = REG_BINARY, .data = L"{root}\\sim\0"s, .error = kWrongType},
    {.name = "MultiStringRaises",
     .type = REG_MULTI_SZ,
     .data = L"{root}\\sim\0\0"s,
     .error = kWrongType},
};

void PrintTo(const ValueCase& c, std::ostream* os) {
    *os << c.name;
}

class RegistryValues : public testing::TestWithParam<ValueCase> {};

TEST_P(RegistryValues, DecideTheFolder) {
    const ValueCase& c = GetParam();
    ScratchFolder scratch;
    for (const wchar_t* name : {L"sim", L"usual", L"usual (x86)", L"%SIMTEST%", L"work\\SCENEDB"})
        scratch.MakeFolder(name);
    // Were the value expanded, it would name the existing folder sim.
    ASSERT_TRUE(SetEnvironmentVariableW(L"SIMTEST", L"sim"));
    const WorkingDirectoryScope inWork(scratch.Path(L"work"));

    SimulatorKey key(KEY_WOW64_32KEY);
    if (c.setup == Setup::KeyMissing) {
        key.Delete();
    } else {
        key.SetString(L"PID", L"12345");
        if (c.setup == Setup::Value) {
            std::vector<BYTE> data = StringBytes(Substitute(c.data, scratch.Path()), false);
            if (c.strayByte)
                data.push_back('x');
            key.SetValue(kExePath, c.type, data);
        }
    }

    const UsualFolders usual{scratch.Path(L"usual"), scratch.Path(L"usual (x86)")};
    if (c.error) {
        EXPECT_EQ(ErrorMessageOf([&] { LocateSimulatorFolder(SystemRegistry(), usual); }), c.error);
    } else {
        EXPECT_EQ(LocateSimulatorFolder(SystemRegistry(), usual),
                  Substitute(c.expected, scratch.Path()));
    }
}

INSTANTIATE_TEST_SUITE_P(ExePath, RegistryValues, testing::ValuesIn(kValueCases),
                         [](const testing::TestParamInfo<ValueCase>& info) {
                             return info.param.name;
                         });

TEST(SystemRegistry, FindsFolderInKeyUsersCannotWrite) {
    ScratchFolder scratch;
    const std::wstring folder = scratch.MakeFolder(L"sim");
    SimulatorKey key(KEY_WOW64_32KEY);
    key.SetString(kExePath, folder);
    key.MakeReadOnly();
    HKEY probe = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, SimulatorKey::kPath.c_str(), 0,
                            KEY_ALL_ACCESS | KEY_WOW64_32KEY, &probe),
              ERROR_ACCESS_DENIED)
        << "the key still opens for writing";

    EXPECT_EQ(LocateSimulatorFolder(), folder);
}

TEST(SystemRegistry, Reads32BitViewInEveryBuild) {
    if (!OnWindows64())
        GTEST_SKIP() << "32-bit Windows has one registry view";
    ScratchFolder scratch;
    SimulatorKey key32(KEY_WOW64_32KEY);
    SimulatorKey key64(KEY_WOW64_64KEY);
    key32.SetString(kExePath, scratch.MakeFolder(L"32-bit view"));
    key64.SetString(kExePath, scratch.MakeFolder(L"64-bit view"));
    ASSERT_EQ(key64.ReadString(kExePath), scratch.Path(L"64-bit view")) << "the views are one";

    EXPECT_EQ(LocateSimulatorFolder(), scratch.Path(L"32-bit view"));
}

std::wstring Environment(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
    return length < MAX_PATH ? std::wstring(value, length) : std::wstring();
}

TEST(SystemUsualFolders, ProgramFilesThenProgramFilesX86) {
    if (!OnWindows64())
        GTEST_SKIP() << "32-bit Windows has one Program Files folder";
    const std::wstring programFilesX86 = Environment(L"ProgramFiles(x86)");
    ASSERT_FALSE(programFilesX86.empty());
    const std::wstring usual = L"c:\\Program Files\\Microsoft Games\\Flight Simulator 9";
    const std::wstring usualX86 = programFilesX86 + L"\\Microsoft Games\\Flight Simulator 9";
    SimulatorKey key(KEY_WOW64_32KEY);
    key.Delete();
    ScratchFolder scratch;
    const WorkingDirectoryScope elsewhere(scratch.Path());

    EXPECT_EQ(LocateSimulatorFolder(), L"");
    const CreatedFolder installedX86(usualX86);
    EXPECT_EQ(LocateSimulatorFolder(), usualX86);
    const CreatedFolder installed(usual);
    EXPECT_EQ(LocateSimulatorFolder(), usual);
}

TEST(WorkingDirectory, DriveRootKeepsItsBackslash) {
    ScratchFolder scratch;
    const UsualFolders absent{scratch.Path(L"usual"), scratch.Path(L"usual (x86)")};
    SimulatorKey key(KEY_WOW64_32KEY);
    key.Delete();
    const WorkingDirectoryScope atRoot(L"C:\\");

    EXPECT_EQ(LocateSimulatorFolder(SystemRegistry(), absent), L"");
    const CreatedFolder sceneDb(L"C:\\SCENEDB");
    EXPECT_EQ(LocateSimulatorFolder(SystemRegistry(), absent), L"C:\\");
}

} // namespace
