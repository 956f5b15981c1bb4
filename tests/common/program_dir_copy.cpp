#include "common/program_dir_copy.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

void CopyProgramFiles(const std::string& directory, const std::vector<std::string>& binaries)
{
    const fs::path built(FIELDMATE_BINARY_DIR);
    for (const std::string& name : binaries)
        fs::copy_file(built / name, fs::path(directory) / name, fs::copy_options::overwrite_existing);
    for (const char* resource : {"Setting.ini", "Languages", "Skin", "service"})
        if (fs::exists(built / resource))
            fs::copy(built / resource, fs::path(directory) / resource,
                     fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

std::vector<std::string> ListLogFiles(const std::string& directory)
{
    std::vector<std::string> files;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(fs::path(directory) / "Logs", ignored))
        files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}
