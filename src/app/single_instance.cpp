#include "app/single_instance.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

std::string LockDirectory()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    return runtime && *runtime ? std::string(runtime) : std::string("/tmp");
}

bool AcquireSingleInstanceLock(const std::string& name)
{
    const std::string path = LockDirectory() + "/" + name + ".lock";
    const int descriptor = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (descriptor < 0)
        return true; // No place for a lock: run rather than refuse to start.
    if (flock(descriptor, LOCK_EX | LOCK_NB) != 0)
    {
        close(descriptor);
        return false;
    }
    return true;
}
