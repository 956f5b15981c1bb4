// The program directory: the folder of the running executable, ending in '/'.
#pragma once

#include <string>

// The run's program directory: the one start-up chose, else the executable's folder, computed once.
const std::string& GetProgramDirectory();

// Start-up's choice, before any other thread runs; a test's start-up points it at its own folder.
void SetProgramDirectory(const std::string& directory);

// Computed anew from /proc/self/exe on every call.
std::string ComputeProgramDirectory();
