#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "base/widetext.h"
#include "scenery/filesystem.h"

// Passes every call on to a real file system and records it as "Operation name", except that
// the call numbered `failAt` (from 1) is not made and fails with the chosen error instead.
// Reads can also be cut short, as a network drive may do.
class FaultyFileSystem : public FileSystem {
public:
    explicit FaultyFileSystem(FileSystem& real) : real_(real) {}

    void FailCall(size_t failAt, SystemError error) {
        failAt_ = failAt;
        error_ = error;
    }
    void LimitReads(std::uint32_t maxRead) { maxRead_ = maxRead; }

    std::vector<std::string> calls;

    SystemError GetAttributes(const std::wstring& path, std::uint32_t& attributes) override {
        return Call("GetAttributes", path, [&] { return real_.GetAttributes(path, attributes); });
    }
    SystemError OpenForReading(const std::wstring& path, FileHandle& file) override {
        return Opened(file, path, Call("OpenForReading", path, [&] {
                          return real_.OpenForReading(path, file);
                      }));
    }
    SystemError OpenForWriting(const std::wstring& path, FileHandle& file) override {
        return Opened(file, path, Call("OpenForWriting", path, [&] {
                          return real_.OpenForWriting(path, file);
                      }));
    }
    SystemError CreateNew(const std::wstring& path, bool shareRead, FileHandle& file) override {
        return Opened(file, path, Call("CreateNew", path, [&] {
                          return real_.CreateNew(path, shareRead, file);
                      }));
    }
    SystemError Read(FileHandle file, void* buffer, std::uint32_t size,
                     std::uint32_t& got) override {
        return Call("Read", names_[file],
                    [&] { return real_.Read(file, buffer, std::min(size, maxRead_), got); });
    }
    SystemError Write(FileHandle file, const void* data, std::uint32_t size) override {
        return Call("Write", names_[file], [&] { return real_.Write(file, data, size); });
    }
    SystemError Flush(FileHandle file) override {
        return Call("Flush", names_[file], [&] { return real_.Flush(file); });
    }
    SystemError Close(FileHandle file) override {
        // A failed close still releases the handle, as CloseHandle does.
        const std::wstring name = names_[file];
        const SystemError error = Call("Close", name, [&] { return SystemError{0}; });
        real_.Close(file);
        names_.erase(file);
        return error;
    }
    SystemError GetLastWriteTime(FileHandle file, std::uint64_t& time) override {
        return Call("GetLastWriteTime", names_[file],
                    [&] { return real_.GetLastWriteTime(file, time); });
    }
    SystemError SetLastWriteTime(FileHandle file, std::uint64_t time) override {
        return Call("SetLastWriteTime", names_[file],
                    [&] { return real_.SetLastWriteTime(file, time); });
    }
    SystemError Rename(const std::wstring& from, const std::wstring& to) override {
        return Call("Rename", from + L" -> " + Name(to), [&] { return real_.Rename(from, to); });
    }
    SystemError Delete(const std::wstring& path) override {
        return Call("Delete", path, [&] { return real_.Delete(path); });
    }

private:
    static std::wstring Name(const std::wstring& path) {
        return path.substr(path.find_last_of(L'\\') + 1);
    }

    template <typename Operation>
    SystemError Call(const char* operation, const std::wstring& path, Operation operate) {
        calls.push_back(std::string(operation) + " " + ToUtf8(Name(path)));
        return calls.size() == failAt_ ? error_ : operate();
    }

    SystemError Opened(FileHandle file, const std::wstring& path, SystemError error) {
        if (error == 0)
            names_[file] = path;
        return error;
    }

    FileSystem& real_;
    size_t failAt_ = 0;
    SystemError error_ = 0;
    std::uint32_t maxRead_ = UINT32_MAX;
    std::map<FileHandle, std::wstring> names_;
};
