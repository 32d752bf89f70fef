#include "simfolder/locate.h"

#include <optional>

#include "base/error.h"
#include "base/widetext.h"
#include "simfolder/folders.h"
#include "simfolder/registry.h"

namespace {

constexpr std::wstring_view kProgramFilesFolder = L"c:\\Program Files";
static_assert(kDefaultSimulatorFolder.starts_with(kProgramFilesFolder));
constexpr std::wstring_view kSceneryMarker = L"SCENEDB";

[[noreturn]] void RaiseValueError(const char* format) {
    throw Error(std::string(format) + " for '" + ToUtf8(kExePathValueName) + "'");
}

// The folder the registry names, without one trailing backslash; none when it names none.
std::optional<std::wstring> RegisteredFolder(Registry& registry) {
    const RegistryString value = registry.ReadMachineString(std::wstring(kSimulatorKeyPath),
                                                            std::wstring(kExePathValueName));
    switch (value.status) {
    case RegistryString::Status::KeyMissing:
    case RegistryString::Status::ValueMissing:
        return std::nullopt;
    case RegistryString::Status::WrongType:
        RaiseValueError("Invalid data type");
    case RegistryString::Status::Unreadable:
        RaiseValueError("Failed to get data");
    case RegistryString::Status::Read:
        break;
    }
    if (value.text.empty())
        return std::nullopt;
    std::wstring folder = value.text;
    if (folder.back() == L'\\')
        folder.pop_back();
    return folder;
}

// The working directory when it looks like the simulator's folder.
std::wstring SimulatorWorkingDirectory() {
    const std::wstring folder = CurrentDirectory();
    if (folder.empty())
        return {};
    // A drive root already ends in its backslash.
    const std::wstring marker =
        (folder.back() == L'\\' ? L"" : L"\\") + std::wstring(kSceneryMarker);
    return IsDirectory(folder + marker) ? folder : std::wstring();
}

} // namespace

UsualFolders SystemUsualFolders() {
    UsualFolders folders{std::wstring(kDefaultSimulatorFolder), {}};
    const std::wstring programFilesX86 = ProgramFilesX86Folder();
    if (!programFilesX86.empty())
        folders.programFilesX86 =
            programFilesX86 +
            std::wstring(kDefaultSimulatorFolder.substr(kProgramFilesFolder.size()));
    return folders;
}

std::wstring LocateSimulatorFolder() {
    return LocateSimulatorFolder(SystemRegistry(), SystemUsualFolders());
}

std::wstring LocateSimulatorFolder(Registry& registry, const UsualFolders& usualFolders) {
    if (const std::optional<std::wstring> registered = RegisteredFolder(registry)) {
        // A folder the registry names but that is gone is not replaced by the usual ones.
        if (IsDirectory(*registered))
            return *registered;
    } else {
        for (const std::wstring* usual :
             {&usualFolders.programFiles, &usualFolders.programFilesX86})
            if (!usual->empty() && IsDirectory(*usual))
                return *usual;
    }
    return SimulatorWorkingDirectory();
}
