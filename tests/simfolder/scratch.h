#pragma once

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "base/error.h"

// A fresh folder under the temporary folder, removed with its contents at the end.
class ScratchFolder {
public:
    ScratchFolder() {
        static int count = 0;
        path_ =
            std::filesystem::temp_directory_path() /
            ("simfolder-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++count));
        std::filesystem::create_directories(path_);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    // The full path of `name` inside the folder, without a trailing backslash.
    std::wstring Path(const std::wstring& name = {}) const {
        return name.empty() ? path_.wstring() : (path_ / name).wstring();
    }
    std::wstring MakeFolder(const std::wstring& name) const {
        std::filesystem::create_directories(path_ / name);
        return Path(name);
    }
    std::wstring MakeFile(const std::wstring& name) const {
        std::ofstream(path_ / name) << "not a folder";
        return Path(name);
    }

private:
    std::filesystem::path path_;
};

// Makes `folder` the working directory until the end of the scope.
class WorkingDirectoryScope {
public:
    explicit WorkingDirectoryScope(const std::wstring& folder)
        : saved_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    WorkingDirectoryScope(const WorkingDirectoryScope&) = delete;
    WorkingDirectoryScope& operator=(const WorkingDirectoryScope&) = delete;
    ~WorkingDirectoryScope() {
        std::error_code ignored;
        std::filesystem::current_path(saved_, ignored);
    }

private:
    std::filesystem::path saved_;
};

// Creates `path` and the parents it lacks; removes what it created at the end.
class CreatedFolder {
public:
    explicit CreatedFolder(const std::filesystem::path& path) {
        first_ = path;
        while (first_.has_relative_path() && !std::filesystem::exists(first_.parent_path()))
            first_ = first_.parent_path();
        if (std::filesystem::exists(first_))
            throw std::runtime_error("already there: " + first_.string());
        std::filesystem::create_directories(path);
    }
    CreatedFolder(const CreatedFolder&) = delete;
    CreatedFolder& operator=(const CreatedFolder&) = delete;
    ~CreatedFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(first_, ignored);
    }

private:
    std::filesystem::path first_;
};

// The message of the Error `action` raises, or a note that it raised none.
template <class Action> std::string ErrorMessageOf(Action action) {
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    return "(no error)";
}
