// A private program directory (settings, languages, skin) with the application object started on
// it, for GUI tests that build real windows.
#pragma once

#include <functional>
#include <string>

#include "common/temp_dir.h"

class CTestProgram
{
public:
    // prepare runs on the copied directory before start-up (to change a language file, remove a
    // picture, ...). Start-up runs once per process.
    explicit CTestProgram(const std::function<void(const std::string& directory)>& prepare = {});

    const std::string& Path() const { return m_directory.Path(); }

private:
    CTempDir m_directory;
};
