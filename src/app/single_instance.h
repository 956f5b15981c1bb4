// The single-instance rule: one lock file per user, held for the life of the process.
#pragma once

#include <string>

// $XDG_RUNTIME_DIR when set, else /tmp.
std::string LockDirectory();

// Takes the lock "<name>.lock" in the lock directory. False when another process holds it.
// The descriptor stays open until the process ends; the kernel then frees the lock, on any exit.
bool AcquireSingleInstanceLock(const std::string& name);
