#include "simfolder/locate.h"

#include <gtest/gtest.h>

#include "scratch.h"
#include "simfolder/registry.h"

namespace {

// Answers every read with one fixed result and records what was asked.
class FakeRegistry : public Registry {
public:
    explicit FakeRegistry(RegistryString answer) : answer_(std::move(answer)) {}
    RegistryString ReadMachineString(const std::wstring& keyPath,
                                     const std::wstring& valueName) override {
        askedKey = keyPath;
        askedValue = valueName;
        return answer_;
    }
    std::wstring askedKey;
    std::wstring askedValue;

private:
    RegistryString answer_;
};

using Status = RegistryString::Status;

TEST(RegistryEntry, IsTheSimulatorsExePath) {
    FakeRegistry registry({Status::KeyMissing, {}});
    LocateSimulatorFolder(registry, {});
    EXPECT_EQ(registry.askedKey, L"SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\9.0");
    EXPECT_EQ(registry.askedValue, L"EXE Path");
}

TEST(RegistryEntry, ValueThatCannotBeReadRaises) {
    ScratchFolder scratch;
    FakeRegistry registry({Status::Unreadable, {}});
    // Raised even though a usual folder exists: the caller reports it.
    EXPECT_EQ(ErrorMessageOf([&] {
                  LocateSimulatorFolder(registry, {scratch.Path(), scratch.Path()});
              }),
              "Failed to get data for 'EXE Path'");
}

TEST(RegistryEntry, ValueOfWrongTypeRaises) {
    ScratchFolder scratch;
    FakeRegistry registry({Status::WrongType, {}});
    EXPECT_EQ(ErrorMessageOf([&] {
                  LocateSimulatorFolder(registry, {scratch.Path(), scratch.Path()});
              }),
              "Invalid data type for 'EXE Path'");
}

enum class Entry { Absent, Folder, File };
enum class Found { Nothing, ProgramFiles, ProgramFilesX86, WorkingDirectory };

struct FallbackCase {
    const char* name;
    Entry programFiles;
    Entry programFilesX86;
    Entry sceneDb; // in the working directory
    Found expected;
};

const FallbackCase kFallbackCases[] = {
    {"ProgramFilesFirst", Entry::Folder, Entry::Folder, Entry::Folder, Found::ProgramFiles},
    {"ProgramFilesX86WhenProgramFilesMissing", Entry::Absent, Entry::Folder, Entry::Folder,
     Found::ProgramFilesX86},
    {"FileIsNoFolder", Entry::File, Entry::Folder, Entry::Folder, Found::ProgramFilesX86},
    {"WorkingDirectoryWithSceneDb", Entry::Absent, Entry::File, Entry::Folder,
     Found::WorkingDirectory},
    {"SceneDbFileIsNotEnough", Entry::Absent, Entry::Absent, Entry::File, Found::Nothing},
    {"NothingFound", Entry::Absent, Entry::Absent, Entry::Absent, Found::Nothing},
};

void PrintTo(const FallbackCase& c, std::ostream* os) {
    *os << c.name;
}

class Fallbacks : public testing::TestWithParam<FallbackCase> {};

std::wstring Make(const ScratchFolder& scratch, const std::wstring& name, Entry entry) {
    if (entry == Entry::Folder)
        scratch.MakeFolder(name);
    else if (entry == Entry::File)
        scratch.MakeFile(name);
    return scratch.Path(name);
}

TEST_P(Fallbacks, WithoutRegistryEntry) {
    const FallbackCase& c = GetParam();
    ScratchFolder scratch;
    const UsualFolders usual{Make(scratch, L"Program Files", c.programFiles),
                             Make(scratch, L"Program Files (x86)", c.programFilesX86)};
    const std::wstring work = scratch.MakeFolder(L"work");
    Make(scratch, L"work\\SCENEDB", c.sceneDb);
    const WorkingDirectoryScope inWork(work);

    const std::wstring expected[] = {L"", usual.programFiles, usual.programFilesX86, work};
    for (const Status status : {Status::KeyMissing, Status::ValueMissing}) {
        FakeRegistry registry({status, {}});
        EXPECT_EQ(LocateSimulatorFolder(registry, usual), expected[static_cast<int>(c.expected)]);
    }
    FakeRegistry emptyValue({Status::Read, L""});
    EXPECT_EQ(LocateSimulatorFolder(emptyValue, usual), expected[static_cast<int>(c.expected)]);
}

INSTANTIATE_TEST_SUITE_P(Folders, Fallbacks, testing::ValuesIn(kFallbackCases),
                         [](const testing::TestParamInfo<FallbackCase>& info) {
                             return info.param.name;
                         });

} // namespace
