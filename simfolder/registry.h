#pragma once

#include <string>

// What reading one string value of the registry found.
struct RegistryString {
    enum class Status {
        KeyMissing, // the key does not open, or there is no registry
        ValueMissing,
        WrongType,  // neither a string nor an expandable string
        Unreadable, // the value exists but its data cannot be read
        Read,
    };
    Status status = Status::KeyMissing;
    // When Read: the text as stored, nothing expanded, up to its first NUL; empty for a value of
    // size zero, whatever its type.
    std::wstring text;
};

// Read-only access to the 32-bit view of HKEY_LOCAL_MACHINE, where the setup of a 32-bit program
// writes on 64-bit Windows; a 64-bit build reads the same entries as the 32-bit one.
class Registry {
public:
    virtual ~Registry() = default;
    virtual RegistryString ReadMachineString(const std::wstring& keyPath,
                                             const std::wstring& valueName) = 0;
};

// The registry of the running system.
Registry& SystemRegistry();
