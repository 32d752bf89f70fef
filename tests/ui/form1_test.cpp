#include "ui/form1.h"

#include <gtest/gtest.h>

#include "fakes.h"
#include "support/tempfolder.h"
#include "ui/texts.h"

namespace {

// A folder as the simulator leaves it, with libraries and files the list must leave out.
void MakeSimulatorFolder(const TempFolder& folder) {
    WriteFileBytes(folder / L"scenery.cfg", kLiveConfiguration);
    WriteFileBytes(folder / L"north.CBI", kLibrary);
    WriteFileBytes(folder / L"Europe.cbi", kLibrary);
    WriteFileBytes(folder / L"alps.Cbi", kLibrary);
    WriteFileBytes(folder / L"notes.txt", "");
    WriteFileBytes(folder / L"old.cbi.bak", "");
    WriteFileBytes(folder / L"hidden.cbi", "");
    SetFileAttributesW((folder / L"hidden.cbi").c_str(), FILE_ATTRIBUTE_HIDDEN);
    WriteFileBytes(folder / L"system.cbi", "");
    SetFileAttributesW((folder / L"system.cbi").c_str(), FILE_ATTRIBUTE_SYSTEM);
    CreateDirectoryW((folder / L"folder.cbi").c_str(), nullptr);
    CreateDirectoryW((folder / L"SCENEDB").c_str(), nullptr);
}

const std::vector<std::wstring> kListed{L"alps.Cbi", L"Europe.cbi", L"north.CBI"};

class Form1Test : public testing::Test {
protected:
    // The form as the window creates it, before FormCreate.
    TForm1& Form() {
        if (!form_)
            form_.emplace(desktop, operations.Bind());
        return *form_;
    }

    TempFolder startFolder{L"ui-start"};
    TempFolder simulator{L"ui-fs9"};
    TempFolder other{L"ui-other"};
    ScriptedDesktop desktop;
    ScriptedOperations operations;
    // Last, so that the working directory leaves the temporary folders before they go.
    ProcessStateGuard processState;

    void SetUp() override {
        MakeSimulatorFolder(simulator);
        WriteFileBytes(startFolder / L"start.cbi", kLibrary);
        WriteFileBytes(other / L"other.cbi", kLibrary);
        ASSERT_EQ(SetWorkingDirectory(startFolder.path()), 0u);
        operations.locate = [this] {
            return simulator.path();
        };
    }

private:
    std::optional<TForm1> form_;
};

TEST_F(Form1Test, ListStartsOnTheStartUpFolder) {
    EXPECT_EQ(Form().fileListBox1.Directory(), startFolder.path());
    EXPECT_EQ(Form().fileListBox1.Items(), std::vector<std::wstring>{L"start.cbi"});
    EXPECT_EQ(Form().directoryEdit1.text, L"DirectoryEdit1");
    EXPECT_EQ(Form().label1Caption, L"Label1");
    EXPECT_TRUE(Form().button1Enabled);
}

TEST_F(Form1Test, FormCreateOpensOnTheFoundFolder) {
    Form().FormCreate();
    EXPECT_EQ(ProgramFolder, FolderOfPath(ExecutablePath()));
    EXPECT_EQ(SimulatorFolder, simulator.path());
    EXPECT_EQ(Form().directoryEdit1.text, simulator.path());
    EXPECT_EQ(Form().directoryEdit1.initialDir, simulator.path());
    EXPECT_EQ(CurrentDirectory(), simulator.path());
    EXPECT_EQ(Form().fileListBox1.Directory(), simulator.path());
    EXPECT_EQ(Form().fileListBox1.Items(), kListed);
    EXPECT_EQ(Form().fileListBox1.itemIndex, -1);
    EXPECT_EQ(desktop.processedMessages, 1);
}

TEST_F(Form1Test, FormCreateWithNoFolderFoundKeepsTheStartUpFolder) {
    operations.locate = [] {
        return std::wstring();
    };
    Form().FormCreate();
    EXPECT_EQ(SimulatorFolder, L"");
    EXPECT_EQ(Form().directoryEdit1.text, L"");
    EXPECT_EQ(CurrentDirectory(), startFolder.path());
    EXPECT_EQ(Form().fileListBox1.Items(), std::vector<std::wstring>{L"start.cbi"});
}

TEST_F(Form1Test, FormCreateStopsAtADiscoveryError) {
    SimulatorFolder = L"before";
    operations.locate = []() -> std::wstring {
        throw Error("Invalid data type for 'EXE Path'");
    };
    try {
        Form().FormCreate();
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Invalid data type for 'EXE Path'");
    }
    // What came before the error is done, nothing after it.
    EXPECT_EQ(ProgramFolder, FolderOfPath(ExecutablePath()));
    EXPECT_EQ(SimulatorFolder, L"before");
    EXPECT_EQ(Form().directoryEdit1.text, L"DirectoryEdit1");
    EXPECT_EQ(Form().fileListBox1.Directory(), startFolder.path());
    EXPECT_EQ(desktop.processedMessages, 0);
}

TEST_F(Form1Test, DialogOkMovesEverythingToTheChosenFolder) {
    Form().FormCreate();
    desktop.dialogAnswers = {other.path()};
    Form().DirectoryEdit1ButtonClick();
    EXPECT_EQ(desktop.dialogStarts, std::vector<std::wstring>{simulator.path()});
    EXPECT_EQ(SimulatorFolder, other.path());
    EXPECT_EQ(CurrentDirectory(), other.path());
    EXPECT_EQ(Form().fileListBox1.Items(), std::vector<std::wstring>{L"other.cbi"});
    EXPECT_EQ(Form().directoryEdit1.text, other.path());
    EXPECT_EQ(Form().directoryEdit1.initialDir, other.path());
    EXPECT_EQ(desktop.processedMessages, 2);
}

// Where the dialog opens, and so what Cancel makes the simulator folder.
struct CancelCase {
    const char* name;
    const wchar_t* text;       // the field's text; "@" stands for the other folder
    const wchar_t* initialDir; // the field's initial folder; "@" as above
    const wchar_t* start;      // the dialog's start; "@" as above
};

void PrintTo(const CancelCase& c, std::ostream* os) {
    *os << c.name;
}

class DialogCancel : public Form1Test, public testing::WithParamInterface<CancelCase> {
protected:
    std::wstring Resolve(const wchar_t* text) {
        return std::wstring(text) == L"@" ? other.path() : std::wstring(text);
    }
};

TEST_P(DialogCancel, StillSetsTheFolderToTheDialogsStart) {
    Form().directoryEdit1.text = Resolve(GetParam().text);
    Form().directoryEdit1.initialDir = Resolve(GetParam().initialDir);
    const TDirectoryEdit fieldBefore = Form().directoryEdit1;
    desktop.dialogAnswers = {std::nullopt};
    Form().DirectoryEdit1ButtonClick();

    const std::wstring start = Resolve(GetParam().start);
    EXPECT_EQ(desktop.dialogStarts, std::vector<std::wstring>{start});
    EXPECT_EQ(SimulatorFolder, start);
    // "\" is the root of the working directory's drive.
    const std::wstring expectedFolder = start == L"\\" ? startFolder.path().substr(0, 3) : start;
    EXPECT_EQ(CurrentDirectory(), expectedFolder);
    EXPECT_EQ(Form().fileListBox1.Directory(), expectedFolder);
    EXPECT_EQ(Form().directoryEdit1.text, fieldBefore.text);
    EXPECT_EQ(Form().directoryEdit1.initialDir, fieldBefore.initialDir);
}

INSTANTIATE_TEST_SUITE_P(, DialogCancel,
                         testing::Values(CancelCase{"AtTheText", L"@", L"", L"@"},
                                         CancelCase{"AtTheInitialFolder", L"", L"@", L"@"},
                                         CancelCase{"AtTheRootWhenBothEmpty", L"", L"", L"\\"},
                                         CancelCase{"AtTheRootForAMissingFolder",
                                                    L"Z:\\no\\such\\folder", L"@", L"\\"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Form1Test, ChoosingTheShownFolderAgainDoesNotReRead) {
    Form().FormCreate();
    Form().fileListBox1.itemIndex = 1;
    const unsigned revision = Form().fileListBox1.Revision();
    WriteFileBytes(simulator / L"new.cbi", kLibrary);
    desktop.dialogAnswers = {simulator.path()};
    Form().DirectoryEdit1ButtonClick();
    EXPECT_EQ(Form().fileListBox1.Items(), kListed);
    EXPECT_EQ(Form().fileListBox1.itemIndex, 1);
    EXPECT_EQ(Form().fileListBox1.Revision(), revision);
}

TEST_F(Form1Test, AMissingFolderIsAnErrorAndChangesNothing) {
    Form().FormCreate();
    Form().fileListBox1.itemIndex = 0;
    const std::wstring missing = other / L"gone";
    EXPECT_THROW(Form().fileListBox1.SetDirectory(missing), Error);
    EXPECT_EQ(CurrentDirectory(), simulator.path());
    EXPECT_EQ(Form().fileListBox1.Directory(), simulator.path());
    EXPECT_EQ(Form().fileListBox1.Items(), kListed);
    EXPECT_EQ(Form().fileListBox1.itemIndex, 0);

    // Empty text is no folder at all: nothing happens.
    Form().fileListBox1.SetDirectory(L"");
    EXPECT_EQ(Form().fileListBox1.Directory(), simulator.path());
}

TEST_F(Form1Test, SelectedFileIsAFullPath) {
    Form().FormCreate();
    EXPECT_EQ(Form().fileListBox1.FileName(), L"");
    Form().fileListBox1.itemIndex = 1;
    EXPECT_EQ(Form().fileListBox1.FileName(), simulator / L"Europe.cbi");
}

// What Button1Click leaves for each outcome of the replacement.
struct ClickCase {
    const char* name;
    std::function<ReplaceOutcome()> replace;
    bool raises;
    const wchar_t* errorMessage; // the "Error" box, if any
    bool done;
};

void PrintTo(const ClickCase& c, std::ostream* os) {
    *os << c.name;
}

class Button1Click : public Form1Test, public testing::WithParamInterface<ClickCase> {};

TEST_P(Button1Click, ShowsTheOutcome) {
    Form().FormCreate();
    Form().fileListBox1.itemIndex = 0;
    operations.replace = GetParam().replace;
    if (GetParam().raises)
        EXPECT_THROW(Form().Button1Click(), Error);
    else
        Form().Button1Click();

    const std::wstring path = simulator / L"alps.Cbi";
    EXPECT_EQ(operations.replaceCalls, (std::vector<ReplaceCall>{{simulator.path(), path}}));
    EXPECT_EQ(desktop.errorMessages, GetParam().errorMessage
                                         ? std::vector<std::wstring>{GetParam().errorMessage}
                                         : std::vector<std::wstring>{});
    EXPECT_EQ(Form().label1Caption, GetParam().done ? kDoneText : path);
    EXPECT_EQ(Form().button1Enabled, !GetParam().done);
}

INSTANTIATE_TEST_SUITE_P(
    , Button1Click,
    testing::Values(
        ClickCase{"Replaced", [] { return ReplaceOutcome::Replaced; }, false, nullptr, true},
        ClickCase{"TargetMissing", [] { return ReplaceOutcome::TargetMissing; }, false,
                  L"Wrong FS Folder", false},
        ClickCase{"Raises", []() -> ReplaceOutcome { throw Error("File access denied"); }, true,
                  nullptr, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Form1Test, Button1ClickWithNothingSelectedPassesAnEmptyPath) {
    operations.locate = [] {
        return std::wstring();
    };
    Form().FormCreate();
    Form().Button1Click();
    EXPECT_EQ(operations.replaceCalls, (std::vector<ReplaceCall>{{L"", L""}}));
    EXPECT_EQ(Form().label1Caption, kDoneText);
}

TEST_F(Form1Test, DoneSurvivesAnotherFolder) {
    Form().FormCreate();
    Form().Button1Click();
    desktop.dialogAnswers = {other.path(), std::nullopt};
    Form().DirectoryEdit1ButtonClick();
    Form().DirectoryEdit1ButtonClick();
    EXPECT_FALSE(Form().button1Enabled);
    EXPECT_EQ(Form().label1Caption, kDoneText);
    EXPECT_EQ(Form().fileListBox1.Items(), std::vector<std::wstring>{L"other.cbi"});
}

TEST_F(Form1Test, FormCloseGoesBackToTheProgramFolder) {
    Form().FormCreate();
    ASSERT_EQ(CurrentDirectory(), simulator.path());
    Form().FormClose();
    EXPECT_EQ(CurrentDirectory(), ProgramFolder);
}

// The handlers over the real replacement: what ends up on disk.
class Form1OnDisk : public Form1Test {
protected:
    void SetUp() override {
        Form1Test::SetUp();
        operations.replace = [this] {
            const ReplaceCall& call = operations.replaceCalls.back();
            return ReplaceSceneryConfiguration(call.folder, call.sourcePath);
        };
        Form().FormCreate();
    }
};

TEST_F(Form1OnDisk, GoInstallsTheSelectedLibrary) {
    Form().fileListBox1.itemIndex = 1;
    Form().Button1Click();
    EXPECT_EQ(ReadFileBytes(simulator / L"scenery.old"), kLiveConfiguration);
    EXPECT_EQ(ReadFileBytes(simulator / L"scenery.cfg"), kLibraryRenumbered);
    EXPECT_EQ(ReadFileBytes(simulator / L"Europe.cbi"), kLibrary);
    EXPECT_FALSE(Form().button1Enabled);
}

TEST_F(Form1OnDisk, GoWithNothingSelectedLeavesSceneryCfg) {
    EXPECT_THROW(Form().Button1Click(), Error);
    EXPECT_EQ(Form().label1Caption, L"");
    EXPECT_TRUE(Form().button1Enabled);
    EXPECT_EQ(ReadFileBytes(simulator / L"scenery.old"), kLiveConfiguration);
    EXPECT_EQ(ReadFileBytes(simulator / L"scenery.cfg"), kLiveConfiguration);
}

TEST_F(Form1OnDisk, GoInAFolderWithoutSceneryCfgTouchesNothing) {
    desktop.dialogAnswers = {other.path()};
    Form().DirectoryEdit1ButtonClick();
    Form().fileListBox1.itemIndex = 0;
    Form().Button1Click();
    EXPECT_EQ(desktop.errorMessages, std::vector<std::wstring>{L"Wrong FS Folder"});
    EXPECT_EQ(other.Names(), std::set<std::wstring>{L"other.cbi"});
    EXPECT_TRUE(Form().button1Enabled);
}

} // namespace
