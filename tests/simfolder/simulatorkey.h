#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The simulator's key in one view of the test prefix's registry (KEY_WOW64_32KEY or
// KEY_WOW64_64KEY). A test changes it at will; the end of the scope puts back what was found,
// down to the parent keys. Refuses to work anywhere but in a Wine prefix of a build tree.
class SimulatorKey {
public:
    explicit SimulatorKey(REGSAM view);
    SimulatorKey(const SimulatorKey&) = delete;
    SimulatorKey& operator=(const SimulatorKey&) = delete;
    ~SimulatorKey();

    // Stores exactly these bytes, with no NUL added, creating the key when needed.
    void SetValue(const std::wstring& name, DWORD type, const std::vector<BYTE>& data);
    void SetString(const std::wstring& name, const std::wstring& text);
    // Deletes the key itself, so that it does not open.
    void Delete();
    // Lets everyone read the key and no one change it, as HKEY_LOCAL_MACHINE is for a user
    // without administrator rights; undone at the end of the scope.
    void MakeReadOnly();
    // The string value `name` as this view holds it, or "(none)".
    std::wstring ReadString(const std::wstring& name) const;

    // The key path, spelled out here rather than taken from the code under test.
    static const std::wstring kPath;

private:
    struct SavedValue {
        std::wstring name;
        DWORD type;
        std::vector<BYTE> data;
    };

    REGSAM view_;
    std::vector<std::wstring> levels_; // the key and its parents to create, outermost first
    std::vector<bool> existed_;
    std::vector<SavedValue> savedValues_;
    HKEY securityHandle_ = nullptr; // keeps the right to put the key's security back
    std::vector<BYTE> savedSecurity_;
};

// The bytes of `text` as the registry stores a string; `withNul` adds the terminating NUL.
std::vector<BYTE> StringBytes(const std::wstring& text, bool withNul = true);

// Whether this process runs on 64-bit Windows, where the two registry views differ.
bool OnWindows64();
