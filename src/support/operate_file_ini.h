// Writes one key of an INI file, keeping everything else in it.
#pragma once

#include <string>

class COperateFileIni
{
public:
    // Creates the file, the section or the key as needed. False when the file cannot be written.
    bool WriteValue(const std::string& section, const std::string& key, const std::string& value,
                    const std::string& path) const;
};
