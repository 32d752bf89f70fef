#include "simulatorkey.h"

#include <cstring>
#include <iterator>

#include <sddl.h>
#include <stdexcept>

namespace {

const wchar_t kParent[] = L"SOFTWARE\\Microsoft";

void Check(LONG result, const char* what) {
    if (result != ERROR_SUCCESS)
        throw std::runtime_error(std::string(what) + " failed with " + std::to_string(result));
}

// Guards the machine's own registry: these tests write to HKEY_LOCAL_MACHINE.
void RequireTestPrefix() {
    const bool underWine =
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    wchar_t prefix[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH);
    const std::wstring_view name(prefix, length < MAX_PATH ? length : 0);
    if (!underWine || !name.ends_with(L"/wine-prefix"))
        throw std::runtime_error("registry tests run only in the build tree's Wine prefix");
}

} // namespace

const std::wstring SimulatorKey::kPath =
    L"SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\9.0";

SimulatorKey::SimulatorKey(REGSAM view) : view_(view) {
    RequireTestPrefix();
    std::wstring level = kParent;
    for (const wchar_t* part : {L"Microsoft Games", L"Flight Simulator", L"9.0"}) {
        level += L"\\";
        level += part;
        levels_.push_back(level);
        HKEY key = nullptr;
        existed_.push_back(RegOpenKeyExW(HKEY_LOCAL_MACHINE, level.c_str(), 0, KEY_READ | view_,
                                         &key) == ERROR_SUCCESS);
        if (existed_.back() && level == kPath) {
            for (DWORD index = 0;; ++index) {
                wchar_t name[16384];
                DWORD nameLength = std::size(name);
                DWORD type = 0;
                DWORD size = 0;
                if (RegEnumValueW(key, index, name, &nameLength, nullptr, &type, nullptr, &size) !=
                    ERROR_SUCCESS)
                    break;
                SavedValue saved{name, type, std::vector<BYTE>(size)};
                Check(RegQueryValueExW(key, name, nullptr, &type, saved.data.data(), &size),
                      "saving a value");
                savedValues_.push_back(std::move(saved));
            }
        }
        if (existed_.back())
            RegCloseKey(key);
    }
}

SimulatorKey::~SimulatorKey() {
    if (securityHandle_) {
        RegSetKeySecurity(securityHandle_, DACL_SECURITY_INFORMATION, savedSecurity_.data());
        RegCloseKey(securityHandle_);
    }
    if (existed_.back()) {
        // Back to the values found; the key holds no others.
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kPath.c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS | view_, nullptr, &key, nullptr) != ERROR_SUCCESS)
            return;
        wchar_t name[16384];
        for (DWORD nameLength = std::size(name);
             RegEnumValueW(key, 0, name, &nameLength, nullptr, nullptr, nullptr, nullptr) ==
                 ERROR_SUCCESS &&
             RegDeleteValueW(key, name) == ERROR_SUCCESS;
             nameLength = std::size(name)) {
        }
        for (const SavedValue& saved : savedValues_)
            RegSetValueExW(key, saved.name.c_str(), 0, saved.type, saved.data.data(),
                           static_cast<DWORD>(saved.data.size()));
        RegCloseKey(key);
        return;
    }
    // Delete what the test created, innermost first; never a key with other subkeys.
    for (size_t i = levels_.size(); i-- > 0 && !existed_[i];) {
        const LONG result = RegDeleteKeyExW(HKEY_LOCAL_MACHINE, levels_[i].c_str(), view_, 0);
        if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
            break;
    }
}

void SimulatorKey::SetValue(const std::wstring& name, DWORD type, const std::vector<BYTE>& data) {
    HKEY key = nullptr;
    Check(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kPath.c_str(), 0, nullptr, 0,
                          KEY_SET_VALUE | KEY_QUERY_VALUE | view_, nullptr, &key, nullptr),
          "creating the key");
    // The registry adds a NUL to a string whose next character in memory is one: padding with
    // non-NUL bytes keeps what is stored exactly what is given.
    std::vector<BYTE> padded = data;
    padded.resize(data.size() + 4, 0xff);
    LONG result =
        RegSetValueExW(key, name.c_str(), 0, type, padded.data(), static_cast<DWORD>(data.size()));
    DWORD storedSize = 0;
    if (result == ERROR_SUCCESS)
        result = RegQueryValueExW(key, name.c_str(), nullptr, nullptr, nullptr, &storedSize);
    RegCloseKey(key);
    Check(result, "setting a value");
    if (storedSize != data.size())
        throw std::runtime_error("the registry did not store the value's bytes as given");
}

void SimulatorKey::SetString(const std::wstring& name, const std::wstring& text) {
    SetValue(name, REG_SZ, StringBytes(text));
}

void SimulatorKey::Delete() {
    const LONG result = RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kPath.c_str(), view_, 0);
    if (result != ERROR_FILE_NOT_FOUND)
        Check(result, "deleting the key");
}

void SimulatorKey::MakeReadOnly() {
    Check(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPath.c_str(), 0, READ_CONTROL | WRITE_DAC | view_,
                        &securityHandle_),
          "opening the key's security");
    DWORD size = 0;
    RegGetKeySecurity(securityHandle_, DACL_SECURITY_INFORMATION, nullptr, &size);
    savedSecurity_.resize(size);
    Check(
        RegGetKeySecurity(securityHandle_, DACL_SECURITY_INFORMATION, savedSecurity_.data(), &size),
        "saving the key's security");
    PSECURITY_DESCRIPTOR readOnly = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KR;;;WD)", SDDL_REVISION_1,
                                                              &readOnly, nullptr))
        throw std::runtime_error("cannot build the read-only security descriptor");
    const LONG result = RegSetKeySecurity(securityHandle_, DACL_SECURITY_INFORMATION, readOnly);
    LocalFree(readOnly);
    Check(result, "making the key read-only");
}

std::wstring SimulatorKey::ReadString(const std::wstring& name) const {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPath.c_str(), 0, KEY_QUERY_VALUE | view_, &key) !=
        ERROR_SUCCESS)
        return L"(none)";
    wchar_t text[1024] = {};
    DWORD size = sizeof text - sizeof(wchar_t);
    const LONG result =
        RegQueryValueExW(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? std::wstring(text) : L"(none)";
}

std::vector<BYTE> StringBytes(const std::wstring& text, bool withNul) {
    std::vector<BYTE> bytes((text.size() + (withNul ? 1 : 0)) * sizeof(wchar_t));
    std::memcpy(bytes.data(), text.c_str(), bytes.size());
    return bytes;
}

bool OnWindows64() {
    BOOL wow64 = FALSE;
    return sizeof(void*) == 8 || (IsWow64Process(GetCurrentProcess(), &wow64) && wow64);
}
