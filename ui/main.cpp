// The program's start: Form1 and the message loop, over the real folder discovery and
// replacement.
#include <windows.h>

#include "scenery/replace.h"
#include "simfolder/locate.h"
#include "ui/form1window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    Operations operations;
    operations.locateSimulatorFolder = [] {
        return LocateSimulatorFolder();
    };
    operations.replaceSceneryConfiguration = [](const std::wstring& folder,
                                                const std::wstring& sourcePath) {
        return ReplaceSceneryConfiguration(folder, sourcePath);
    };
    return RunApplication(instance, showCommand, std::move(operations));
}
