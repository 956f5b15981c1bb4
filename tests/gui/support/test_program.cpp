#include "support/test_program.h"

#include <cstdlib>

#include "app/application_app.h"
#include "common/program_dir_copy.h"

CTestProgram::CTestProgram(const std::function<void(const std::string& directory)>& prepare)
{
    CopyProgramFiles(m_directory.Path(), {});
    if (prepare)
        prepare(m_directory.Path());
    // The single-instance lock lives in the test's own directory.
    setenv("XDG_RUNTIME_DIR", m_directory.Path().c_str(), 1);
    CApplicationApp::Instance().InitInstance(m_directory.Path());
}
