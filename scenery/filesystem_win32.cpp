#include "scenery/filesystem.h"

#include <windows.h>

namespace {

SystemError LastError() {
    const DWORD error = GetLastError();
    return error != 0 ? error : ERROR_GEN_FAILURE; // a failure is never reported as success
}

SystemError Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition,
                 FileHandle& file) {
    const HANDLE handle = CreateFileW(path.c_str(), access, share, nullptr, disposition,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return LastError();
    file = handle;
    return 0;
}

FILETIME ToFileTime(std::uint64_t time) {
    return {static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
}

class Win32FileSystem : public FileSystem {
public:
    SystemError GetAttributes(const std::wstring& path, std::uint32_t& attributes) override {
        const DWORD found = GetFileAttributesW(path.c_str());
        if (found == INVALID_FILE_ATTRIBUTES)
            return LastError();
        attributes = found;
        return 0;
    }

    SystemError OpenForReading(const std::wstring& path, FileHandle& file) override {
        return Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, file);
    }

    SystemError OpenForWriting(const std::wstring& path, FileHandle& file) override {
        return Open(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING, file);
    }

    SystemError CreateNew(const std::wstring& path, bool shareRead, FileHandle& file) override {
        return Open(path, GENERIC_WRITE, shareRead ? FILE_SHARE_READ : 0, CREATE_NEW, file);
    }

    SystemError Read(FileHandle file, void* buffer, std::uint32_t size,
                     std::uint32_t& got) override {
        DWORD read = 0;
        if (!ReadFile(file, buffer, size, &read, nullptr))
            return LastError();
        got = read;
        return 0;
    }

    SystemError Write(FileHandle file, const void* data, std::uint32_t size) override {
        DWORD written = 0;
        if (!WriteFile(file, data, size, &written, nullptr))
            return LastError();
        return written == size ? 0 : ERROR_DISK_FULL;
    }

    SystemError Flush(FileHandle file) override { return FlushFileBuffers(file) ? 0 : LastError(); }

    SystemError Close(FileHandle file) override { return CloseHandle(file) ? 0 : LastError(); }

    SystemError GetLastWriteTime(FileHandle file, std::uint64_t& time) override {
        FILETIME lastWrite;
        if (!GetFileTime(file, nullptr, nullptr, &lastWrite))
            return LastError();
        time = (std::uint64_t{lastWrite.dwHighDateTime} << 32) | lastWrite.dwLowDateTime;
        return 0;
    }

    SystemError SetLastWriteTime(FileHandle file, std::uint64_t time) override {
        const FILETIME lastWrite = ToFileTime(time);
        return SetFileTime(file, nullptr, nullptr, &lastWrite) ? 0 : LastError();
    }

    SystemError Rename(const std::wstring& from, const std::wstring& to) override {
        const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
        return MoveFileExW(from.c_str(), to.c_str(), flags) ? 0 : LastError();
    }

    SystemError Delete(const std::wstring& path) override {
        return DeleteFileW(path.c_str()) ? 0 : LastError();
    }
};

} // namespace

std::uint64_t ToDosTimeResolution(std::uint64_t time) {
    const FILETIME utc = ToFileTime(time);
    FILETIME local;
    WORD dosDate = 0;
    WORD dosTime = 0;
    FILETIME roundedLocal;
    FILETIME rounded;
    if (!FileTimeToLocalFileTime(&utc, &local) ||
        !FileTimeToDosDateTime(&local, &dosDate, &dosTime) ||
        !DosDateTimeToFileTime(dosDate, dosTime, &roundedLocal) ||
        !LocalFileTimeToFileTime(&roundedLocal, &rounded))
        return time;
    return (std::uint64_t{rounded.dwHighDateTime} << 32) | rounded.dwLowDateTime;
}

FileSystem& SystemFileSystem() {
    static Win32FileSystem files;
    return files;
}
