#pragma once

#include <string>

class FileSystem;

enum class ReplaceOutcome {
    TargetMissing, // the folder holds no scenery.cfg; nothing was touched
    Replaced,
};

// Installs the configuration at `sourcePath` as `folder`\scenery.cfg, renumbered, after saving
// the current file as scenery.old. Raises Error on any failure, and then scenery.cfg is exactly
// as it was.
ReplaceOutcome ReplaceSceneryConfiguration(const std::wstring& folder,
                                           const std::wstring& sourcePath);
ReplaceOutcome ReplaceSceneryConfiguration(FileSystem& files, const std::wstring& folder,
                                           const std::wstring& sourcePath);
