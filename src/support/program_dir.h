// The program directory: the folder of the running executable, ending in '/'.
#pragma once

#include <string>

// Computed once on first use and then returned unchanged.
const std::string& GetProgramDirectory();

// Computed anew from /proc/self/exe on every call.
std::string ComputeProgramDirectory();
