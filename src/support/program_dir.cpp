#include "support/program_dir.h"

#include <climits>
#include <unistd.h>

std::string ComputeProgramDirectory()
{
    char path[PATH_MAX] = {};
    const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length <= 0)
        return "./";
    std::string result(path, static_cast<size_t>(length));
    const size_t slash = result.rfind('/');
    return slash == std::string::npos ? std::string("./") : result.substr(0, slash + 1);
}

namespace
{

std::string& ProgramDirectory()
{
    static std::string directory = ComputeProgramDirectory();
    return directory;
}

} // namespace

const std::string& GetProgramDirectory()
{
    return ProgramDirectory();
}

void SetProgramDirectory(const std::string& directory)
{
    ProgramDirectory() = directory;
}
