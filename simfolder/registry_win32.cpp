#include "simfolder/registry.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace {

class KeyHandle {
public:
    explicit KeyHandle(HKEY key) : key_(key) {}
    KeyHandle(const KeyHandle&) = delete;
    KeyHandle& operator=(const KeyHandle&) = delete;
    ~KeyHandle() { RegCloseKey(key_); }

private:
    HKEY key_;
};

class SystemRegistryImpl : public Registry {
public:
    RegistryString ReadMachineString(const std::wstring& keyPath,
                                     const std::wstring& valueName) override {
        using Status = RegistryString::Status;
        HKEY key = nullptr;
        // Only the right to read values: without administrator rights no more is granted. The
        // 32-bit view even from a 64-bit build, as the simulator's setup writes there.
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY,
                          &key) != ERROR_SUCCESS)
            return {Status::KeyMissing, {}};
        const KeyHandle closer(key);

        DWORD type = REG_NONE;
        std::vector<BYTE> data(256);
        DWORD size = static_cast<DWORD>(data.size());
        LONG result;
        // Too small a buffer: `size` now says what is needed, which may grow before the next read.
        while ((result = RegQueryValueExW(key, valueName.c_str(), nullptr, &type, data.data(),
                                          &size)) == ERROR_MORE_DATA)
            data.resize(size);
        if (result == ERROR_FILE_NOT_FOUND)
            return {Status::ValueMissing, {}};
        if (result != ERROR_SUCCESS)
            return {Status::Unreadable, {}};
        if (size == 0)
            return {Status::Read, {}};
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            return {Status::WrongType, {}};

        // The stored data need not end in a NUL, nor hold a whole number of characters.
        std::wstring text(size / sizeof(wchar_t), L'\0');
        std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
        if (const size_t end = text.find(L'\0'); end != std::wstring::npos)
            text.resize(end);
        return {Status::Read, text};
    }
};

} // namespace

Registry& SystemRegistry() {
    static SystemRegistryImpl registry;
    return registry;
}
