#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/error.h"
#include "scenery/replace.h"
#include "ui/desktop.h"
#include "ui/folders.h"
#include "ui/form1.h"

// Answers the folder dialog from a script and records every box.
class ScriptedDesktop : public Desktop {
public:
    // The next dialogs' answers: a folder for OK, no value for Cancel.
    std::deque<std::optional<std::wstring>> dialogAnswers;
    std::vector<std::wstring> dialogStarts;
    std::vector<std::wstring> errorMessages;
    std::vector<std::wstring> applicationErrors;
    int processedMessages = 0;

    std::optional<std::wstring> SelectDirectory(const std::wstring& start) override {
        dialogStarts.push_back(start);
        if (dialogAnswers.empty())
            throw Error("unexpected folder dialog");
        std::optional<std::wstring> answer = dialogAnswers.front();
        dialogAnswers.pop_front();
        return answer;
    }
    void ShowErrorMessage(const std::wstring& text) override { errorMessages.push_back(text); }
    void ShowApplicationError(const std::wstring& text) override {
        applicationErrors.push_back(text);
    }
    void ProcessMessages() override { ++processedMessages; }
};

// A replacement call as the window made it.
struct ReplaceCall {
    std::wstring folder;
    std::wstring sourcePath;
    bool operator==(const ReplaceCall&) const = default;
};

// Folder discovery and replacement that answer as a test says and record the calls.
struct ScriptedOperations {
    std::function<std::wstring()> locate = [] {
        return std::wstring();
    };
    std::function<ReplaceOutcome()> replace = [] {
        return ReplaceOutcome::Replaced;
    };
    std::vector<ReplaceCall> replaceCalls;

    Operations Bind() {
        Operations operations;
        operations.locateSimulatorFolder = [this] {
            return locate();
        };
        operations.replaceSceneryConfiguration = [this](const std::wstring& folder,
                                                        const std::wstring& sourcePath) {
            replaceCalls.push_back({folder, sourcePath});
            return replace();
        };
        return operations;
    }
};

// Puts back the working directory and the process-wide folders at the end of a test.
class ProcessStateGuard {
public:
    ProcessStateGuard()
        : workingDirectory_(CurrentDirectory()), simulatorFolder_(SimulatorFolder),
          programFolder_(ProgramFolder) {}
    ProcessStateGuard(const ProcessStateGuard&) = delete;
    ProcessStateGuard& operator=(const ProcessStateGuard&) = delete;
    ~ProcessStateGuard() {
        SetWorkingDirectory(workingDirectory_);
        SimulatorFolder = simulatorFolder_;
        ProgramFolder = programFolder_;
    }

private:
    std::wstring workingDirectory_, simulatorFolder_, programFolder_;
};

// A simulator folder's worth of text files.
inline const std::string kLiveConfiguration = "[General]\r\nTitle=FS9 World Scenery\r\n\r\n"
                                              "[Area.001]\r\nTitle=Default Terrain\r\nLayer=1\r\n";
inline const std::string kLibrary = "[General]\r\nTitle=FS9 World Scenery\r\n\r\n"
                                    "[Area.007]\r\nTitle=Alpine Airfields\r\nLayer=12\r\n"
                                    "[Area.003]\r\nTitle=Default Terrain\r\nLayer=3\r\n";
inline const std::string kLibraryRenumbered = "[General]\r\nTitle=FS9 World Scenery\r\n\r\n"
                                              "[Area.001]\r\nTitle=Alpine Airfields\r\nLayer=1\r\n"
                                              "[Area.002]\r\nTitle=Default Terrain\r\nLayer=2\r\n";
