#pragma once

#include <string>

// The folder of Flight Simulator 9, without a trailing backslash (a drive root keeps its own),
// or empty when none is found. Raises Error when the registry entry has the wrong type.
std::wstring LocateSimulatorFolder();
