// A temporary directory removed with everything in it when the owner goes.
#pragma once

#include <string>

class CTempDir
{
public:
    CTempDir();
    ~CTempDir();
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    // Ends in '/', like a program directory.
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

// Writes text to a file, replacing it.
void WriteTextFile(const std::string& path, const std::string& text);
std::string ReadTextFile(const std::string& path);
