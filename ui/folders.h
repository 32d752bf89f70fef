#pragma once

#include <string>
#include <vector>

#include "simfolder/folders.h" // IsDirectory, CurrentDirectory

// The process-wide folders, alive for the whole run.

// The folder whose scenery.cfg is replaced and whose libraries are listed; empty when none was
// found at start-up.
extern std::wstring SimulatorFolder;
// The folder of the executable, made the working directory again when the window closes.
extern std::wstring ProgramFolder;

// The file system as the window sees it.

// The full path of the running executable.
std::wstring ExecutablePath();
// Makes `folder` the working directory; on failure returns the system error number and leaves
// the working directory as it was, else returns 0.
unsigned long SetWorkingDirectory(const std::wstring& folder);
// The names of the non-hidden, non-system files in `folder` that match "*.cbi", in no order.
std::vector<std::wstring> ListLibraryFiles(const std::wstring& folder);
