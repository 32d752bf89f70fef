// Developer tool: times one whole replacement of a generated scenery.cfg on the real file
// system (under Wine or on Windows): backup, renumbering, flush and rename.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/error.h"
#include "scenery/replace.h"

int wmain(int argc, wchar_t** argv) {
    const int areas = argc > 1 ? _wtoi(argv[1]) : 5000;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::filesystem::path folder =
        std::filesystem::path(temp) /
        ("sceneryswitch-timing-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(folder);

    std::string config = "[General]\r\nTitle=FS9 World Scenery\r\nClean_on_Exit=TRUE\r\n\r\n";
    for (int i = areas; i >= 1; --i) {
        config += "[Area." + std::to_string(i * 7) + "]\r\nTitle=Addon Scenery " +
                  std::to_string(i) + "\r\nTexture_ID=1\r\nRemote=\r\nLocal=Addon Scenery\\Pack" +
                  std::to_string(i) + "\r\nLayer=" + std::to_string(i * 7) +
                  "\r\nActive=TRUE\r\nRequired=FALSE\r\n\r\n";
    }
    std::ofstream(folder / "scenery.cfg", std::ios::binary) << config;
    std::ofstream(folder / "library.cbi", std::ios::binary) << config;

    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    try {
        ReplaceSceneryConfiguration(folder.wstring(), (folder / "library.cbi").wstring());
    } catch (const Error& error) {
        std::fprintf(stderr, "replace-timing: %s\n", error.what());
        return 1;
    }
    QueryPerformanceCounter(&end);
    std::printf("replaced a %d-area scenery.cfg (%zu bytes) in %.1f ms\n", areas, config.size(),
                1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                    static_cast<double>(frequency.QuadPart));
    std::filesystem::remove_all(folder);
    return 0;
}
