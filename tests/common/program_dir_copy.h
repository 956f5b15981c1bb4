// A private program directory for a test: copies of the built executables and resources,
// so that parallel tests never share data.mdb, Logs/ or a lock.
#pragma once

#include <string>
#include <vector>

// Copies each named file of the build's bin/ folder (executables, libraries) and the resource
// folders into directory.
void CopyProgramFiles(const std::string& directory, const std::vector<std::string>& binaries);

// The files of <directory>Logs/, sorted by name.
std::vector<std::string> ListLogFiles(const std::string& directory);
