#pragma once

#include <string>

// Whether `path` exists and has the directory attribute.
bool IsDirectory(const std::wstring& path);

// The process's working directory; a drive root keeps its backslash.
std::wstring CurrentDirectory();

// The 32-bit Program Files folder ("Program Files (x86)" on 64-bit Windows, plain Program Files on
// 32-bit Windows), or empty when the system does not say.
std::wstring ProgramFilesX86Folder();
