#pragma once

#include <cstdint>
#include <string>

// The file calls the replacement makes, one Win32 call each, so that a test can fail any one of
// them. Every call returns 0 on success or the system error number.
using FileHandle = void*;
using SystemError = std::uint32_t;

class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual SystemError GetAttributes(const std::wstring& path, std::uint32_t& attributes) = 0;
    // Others may read the file while it is open, nobody may write it.
    virtual SystemError OpenForReading(const std::wstring& path, FileHandle& file) = 0;
    // Opens an existing file for writing without changing it; others may read it meanwhile.
    virtual SystemError OpenForWriting(const std::wstring& path, FileHandle& file) = 0;
    // Creates a file that must not exist yet; `shareRead` lets others read it meanwhile.
    virtual SystemError CreateNew(const std::wstring& path, bool shareRead, FileHandle& file) = 0;
    // Reads up to `size` bytes; `got` is 0 only at the end of the file.
    virtual SystemError Read(FileHandle file, void* buffer, std::uint32_t size,
                             std::uint32_t& got) = 0;
    virtual SystemError Write(FileHandle file, const void* data, std::uint32_t size) = 0;
    virtual SystemError Flush(FileHandle file) = 0;
    virtual SystemError Close(FileHandle file) = 0;
    // Last-write times as FILETIME values: 100 ns units since 1601, UTC.
    virtual SystemError GetLastWriteTime(FileHandle file, std::uint64_t& time) = 0;
    virtual SystemError SetLastWriteTime(FileHandle file, std::uint64_t time) = 0;
    // Puts `from` in the place of `to` in one step, replacing `to` if it exists.
    virtual SystemError Rename(const std::wstring& from, const std::wstring& to) = 0;
    virtual SystemError Delete(const std::wstring& path) = 0;
};

// The real file system.
FileSystem& SystemFileSystem();

// A last-write time cut to the two-second steps of a DOS date and time, in local time as DOS
// kept it; a time outside the DOS range stays as it is.
std::uint64_t ToDosTimeResolution(std::uint64_t time);

constexpr std::uint32_t kAttributeReadOnly = 0x1;   // FILE_ATTRIBUTE_READONLY
constexpr std::uint32_t kAttributeDirectory = 0x10; // FILE_ATTRIBUTE_DIRECTORY
