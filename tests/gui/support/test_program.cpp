#include "support/test_program.h"

#include <cstdlib>

#include "app/application_app.h"
#include "common/capturing_sender.h"
#include "common/program_dir_copy.h"
#include "link/local_adapter_library.h"
#include "link/transmit_manage.h"

CTestProgram::CTestProgram(const std::function<void(const std::string& directory)>& prepare)
{
    CopyProgramFiles(m_directory.Path(), {});
    if (prepare)
        prepare(m_directory.Path());
    // The single-instance lock lives in the test's own directory.
    setenv("XDG_RUNTIME_DIR", m_directory.Path().c_str(), 1);
    // The device link of an in-process start-up opens no socket: what pages send is captured.
    AcTransmitManage::PrepareInstance(std::make_unique<CCapturingSender>(ProcessSendCapture()),
                                      m_directory.Path() + kLocalAdapterLibraryName);
    CApplicationApp::Instance().InitInstance(m_directory.Path());
}
