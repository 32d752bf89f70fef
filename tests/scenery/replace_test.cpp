#include "scenery/replace.h"

#include <gtest/gtest.h>

#include <functional>

#include "base/error.h"
#include "base/widetext.h"
#include "scenery/filesystem.h"
#include "support/faultyfilesystem.h"
#include "support/tempfolder.h"

namespace {

const std::string kOldConfig = "[General]\r\nTitle=FS9 World Scenery\r\n\r\n"
                               "[Area.001]\r\nTitle=Default Terrain\r\nLayer=1\r\n";
const std::string kPreviousBackup = "an older backup\r\n";
const std::string kLibrary = "[Area.012]\nTitle=Addon Airport\nLocal=Addon Scenery\\EGLL\n"
                             "Layer=12\n[Area.003]\nTitle=Default Terrain\nLayer=3\n";
const std::string kNewConfig = "[Area.001]\r\nTitle=Addon Airport\r\nLocal=Addon Scenery\\EGLL\r\n"
                               "Layer=1\r\n[Area.002]\r\nTitle=Default Terrain\r\nLayer=2\r\n";

// A simulator folder with a scenery.cfg, an earlier scenery.old and a library to install.
struct SimulatorFolder {
    explicit SimulatorFolder(const std::wstring& name = L"sceneryswitch-replace") : folder(name) {
        WriteFileBytes(Target(), kOldConfig);
        WriteFileBytes(Backup(), kPreviousBackup);
        WriteFileBytes(Library(), kLibrary);
    }
    ~SimulatorFolder() {
        if (lock != INVALID_HANDLE_VALUE)
            CloseHandle(lock);
    }

    std::wstring Target() const { return folder / L"scenery.cfg"; }
    std::wstring Backup() const { return folder / L"scenery.old"; }
    std::wstring Library() const { return folder / L"library.cbi"; }
    // `message` with "{folder}" replaced by the folder's path.
    std::string Expected(std::string message) const {
        if (const size_t at = message.find("{folder}"); at != std::string::npos)
            message.replace(at, 8, ToUtf8(folder.path()));
        return message;
    }
    bool HoldsOnlyItsFiles() const {
        return folder.Names() ==
               std::set<std::wstring>{L"library.cbi", L"scenery.cfg", L"scenery.old"};
    }

    TempFolder folder;
    HANDLE lock = INVALID_HANDLE_VALUE; // another program's handle on one of the files
};

// The message of the error that `replace` raises, or "" when it raises none.
std::string ErrorOf(const std::function<void()>& replace) {
    try {
        replace();
    } catch (const Error& error) {
        return error.what();
    }
    return "";
}

std::uint64_t LastWriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    EXPECT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data));
    return (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
           data.ftLastWriteTime.dwLowDateTime;
}

TEST(Replace, InstallsRenumberedLibraryAndKeepsOldFileWithItsTime) {
    SimulatorFolder sim;
    // An odd second with a fraction: the backup's time is cut to the even second before it.
    const std::uint64_t lastWrite = 133'283'742'735'000'000ULL; // 2023-05-17, hh:mm:13.5 UTC
    const HANDLE file = CreateFileW(sim.Target().c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    const FILETIME time{static_cast<DWORD>(lastWrite), static_cast<DWORD>(lastWrite >> 32)};
    ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &time));
    CloseHandle(file);

    EXPECT_EQ(ReplaceSceneryConfiguration(sim.folder.path(), sim.Library()),
              ReplaceOutcome::Replaced);

    EXPECT_EQ(ReadFileBytes(sim.Target()), kNewConfig);
    EXPECT_EQ(ReadFileBytes(sim.Backup()), kOldConfig);
    EXPECT_TRUE(sim.HoldsOnlyItsFiles());
    EXPECT_EQ(LastWriteTime(sim.Backup()), ToDosTimeResolution(lastWrite));
    EXPECT_EQ(lastWrite - LastWriteTime(sim.Backup()), 15'000'000ULL); // 13.5 s became 12 s
}

TEST(Replace, EmptyLibraryGivesEmptyConfiguration) {
    SimulatorFolder sim;
    WriteFileBytes(sim.Library(), "");
    EXPECT_EQ(ReplaceSceneryConfiguration(sim.folder.path(), sim.Library()),
              ReplaceOutcome::Replaced);
    EXPECT_EQ(ReadFileBytes(sim.Target()), "");
    EXPECT_EQ(ReadFileBytes(sim.Backup()), kOldConfig);
}

TEST(Replace, BackupFolderReceivesCopyAsSceneryCfg) {
    SimulatorFolder sim;
    DeleteFileW(sim.Backup().c_str());
    CreateDirectoryW(sim.Backup().c_str(), nullptr);
    EXPECT_EQ(ReplaceSceneryConfiguration(sim.folder.path(), sim.Library()),
              ReplaceOutcome::Replaced);
    EXPECT_EQ(ReadFileBytes(sim.Backup() + L"\\scenery.cfg"), kOldConfig);
    EXPECT_EQ(ReadFileBytes(sim.Target()), kNewConfig);
}

TEST(Replace, MissingTargetTouchesNothing) {
    struct Case {
        const char* name;
        bool targetIsFolder;
        bool backupExists;
    };
    for (const Case c :
         {Case{"no scenery.cfg", false, false}, Case{"no scenery.cfg, an old backup", false, true},
          Case{"scenery.cfg is a folder", true, false},
          Case{"scenery.cfg is a folder, an old backup", true, true}}) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        WriteFileBytes(folder / L"library.cbi", kLibrary);
        if (c.targetIsFolder)
            CreateDirectoryW((folder / L"scenery.cfg").c_str(), nullptr);
        if (c.backupExists)
            WriteFileBytes(folder / L"scenery.old", kPreviousBackup);
        const auto before = folder.Names();

        EXPECT_EQ(ReplaceSceneryConfiguration(folder.path(), folder / L"library.cbi"),
                  ReplaceOutcome::TargetMissing);
        EXPECT_EQ(folder.Names(), before);
        if (c.backupExists) {
            EXPECT_EQ(ReadFileBytes(folder / L"scenery.old"), kPreviousBackup);
        }
    }
}

// Failures on real files: the message, and scenery.cfg exactly as it was.
struct FailureCase {
    const char* name;
    std::function<void(SimulatorFolder&, std::wstring& sourcePath)> arrange;
    std::string message;
    bool backupMade; // scenery.old is then the old scenery.cfg, else still the earlier backup
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

const FailureCase kFailures[] = {
    {"ReadOnlyBackup", [](SimulatorFolder& sim, std::wstring&) { SetReadOnly(sim.Backup()); },
     "Cannot create file {folder}\\scenery.old", false},
    {"ReadOnlyTarget", [](SimulatorFolder& sim, std::wstring&) { SetReadOnly(sim.Target()); },
     "File access denied", true},
    {"NoLibraryChosen", [](SimulatorFolder&, std::wstring& source) { source.clear(); },
     "No scenery library selected", true},
    {"LibraryMissing", [](SimulatorFolder&, std::wstring& source) { source += L".gone"; },
     "File not found", true},
    {"TargetLockedByAnotherProgram",
     [](SimulatorFolder& sim, std::wstring&) {
         // Another program reading scenery.cfg and letting nobody write it.
         sim.lock = CreateFileW(sim.Target().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
     },
     "I/O error 32", true},
};

class ReplaceFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(ReplaceFailure, LeavesConfigurationAsItWas) {
    const FailureCase& c = GetParam();
    SimulatorFolder sim;
    std::wstring sourcePath = sim.Library();
    c.arrange(sim, sourcePath);

    EXPECT_EQ(ErrorOf([&] { ReplaceSceneryConfiguration(sim.folder.path(), sourcePath); }),
              sim.Expected(c.message));
    EXPECT_EQ(ReadFileBytes(sim.Target()), kOldConfig);
    EXPECT_EQ(ReadFileBytes(sim.Backup()), c.backupMade ? kOldConfig : kPreviousBackup);
    EXPECT_TRUE(sim.HoldsOnlyItsFiles());
}

INSTANTIATE_TEST_SUITE_P(OnRealFiles, ReplaceFailure, testing::ValuesIn(kFailures),
                         [](const testing::TestParamInfo<FailureCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(Replace, WorksInFolderWithNonAnsiName) {
    // Cyrillic and Japanese: outside every Western ANSI code page.
    SimulatorFolder sim(L"sceneryswitch-\u0416\u65e5\u672c");
    EXPECT_EQ(ReplaceSceneryConfiguration(sim.folder.path(), sim.Library()),
              ReplaceOutcome::Replaced);
    EXPECT_EQ(ReadFileBytes(sim.Target()), kNewConfig);

    SetReadOnly(sim.Backup());
    const std::string message =
        ErrorOf([&] { ReplaceSceneryConfiguration(sim.folder.path(), sim.Library()); });
    EXPECT_EQ(message, sim.Expected("Cannot create file {folder}\\scenery.old"));
    EXPECT_NE(message.find("\xD0\x96\xE6\x97\xA5\xE6\x9C\xAC"), std::string::npos);
}

TEST(Replace, ShortReadsAreNotTheEndOfTheFile) {
    SimulatorFolder sim;
    std::string big;
    for (int i = 0; i < 3000; ++i)
        big += "[Area.001]\r\nTitle=Area " + std::to_string(i) + "\r\nLayer=1\r\n";
    WriteFileBytes(sim.Target(), big);
    FaultyFileSystem files(SystemFileSystem());
    files.LimitReads(1000); // as a network drive may return them

    EXPECT_EQ(ReplaceSceneryConfiguration(files, sim.folder.path(), sim.Library()),
              ReplaceOutcome::Replaced);
    EXPECT_EQ(ReadFileBytes(sim.Backup()), big);
    EXPECT_EQ(ReadFileBytes(sim.Target()), kNewConfig);
}

// Every file call a replacement makes, in order, and the error that its failure must raise ("" for
// none: the replacement then goes on as if the answer had been "no such file").
struct Step {
    const char* call;
    const char* message;
};
const Step kSteps[] = {
    {"GetAttributes scenery.cfg", ""}, // no target: nothing to do
    {"OpenForReading scenery.cfg", "Cannot open file {folder}\\scenery.cfg"},
    {"GetAttributes scenery.old", ""},
    {"CreateNew scenery.old.1.sceneryswitch-tmp", "Cannot create file {folder}\\scenery.old"},
    {"Read scenery.cfg", "Stream read error"},
    {"Write scenery.old.1.sceneryswitch-tmp", "Stream write error"},
    {"Read scenery.cfg", "Stream read error"},
    {"GetLastWriteTime scenery.cfg", "Stream read error"},
    {"Close scenery.cfg", "Stream read error"},
    {"SetLastWriteTime scenery.old.1.sceneryswitch-tmp", "Stream write error"},
    {"Flush scenery.old.1.sceneryswitch-tmp", "Stream write error"},
    {"Close scenery.old.1.sceneryswitch-tmp", "Stream write error"},
    {"Rename scenery.old.1.sceneryswitch-tmp -> scenery.old",
     "Cannot create file {folder}\\scenery.old"},
    {"OpenForReading library.cbi", "I/O error 112"},
    {"OpenForWriting scenery.cfg", "I/O error 112"},
    {"Close scenery.cfg", "I/O error 112"},
    {"CreateNew scenery.cfg.1.sceneryswitch-tmp", "I/O error 112"},
    {"Read library.cbi", "I/O error 112"},
    {"Read library.cbi", "I/O error 112"},
    {"Write scenery.cfg.1.sceneryswitch-tmp", "I/O error 112"},
    {"Close library.cbi", "I/O error 112"},
    {"Flush scenery.cfg.1.sceneryswitch-tmp", "I/O error 112"},
    {"Close scenery.cfg.1.sceneryswitch-tmp", "I/O error 112"},
    {"Rename scenery.cfg.1.sceneryswitch-tmp -> scenery.cfg", "I/O error 112"},
};

TEST(ReplaceFaults, EveryFailingCallLeavesOldOrCompleteNewConfiguration) {
    std::vector<std::string> expectedCalls;
    for (const Step& step : kSteps)
        expectedCalls.push_back(step.call);

    for (size_t failAt = 0; failAt <= std::size(kSteps); ++failAt) {
        SCOPED_TRACE(failAt == 0 ? std::string("no failure") : kSteps[failAt - 1].call);
        SimulatorFolder sim(L"sceneryswitch-faults");
        FaultyFileSystem files(SystemFileSystem());
        files.FailCall(failAt, 112); // ERROR_DISK_FULL

        const std::string message =
            ErrorOf([&] { ReplaceSceneryConfiguration(files, sim.folder.path(), sim.Library()); });

        if (failAt == 0) {
            EXPECT_EQ(files.calls, expectedCalls) << "the table must list every call";
        } else {
            EXPECT_EQ(message, sim.Expected(kSteps[failAt - 1].message));
        }
        const std::string config = ReadFileBytes(sim.Target());
        const std::string backup = ReadFileBytes(sim.Backup());
        if (!message.empty()) {
            EXPECT_EQ(config, kOldConfig);
        }
        EXPECT_TRUE(config == kOldConfig || config == kNewConfig);
        if (config != kOldConfig) {
            EXPECT_EQ(backup, kOldConfig);
        }
        EXPECT_TRUE(backup == kPreviousBackup || backup == kOldConfig);
        EXPECT_TRUE(sim.HoldsOnlyItsFiles()) << "a temporary file was left behind";
    }
}

} // namespace
