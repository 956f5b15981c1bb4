#include "app/application_app.h"

#include <clocale>

#include "app/single_instance.h"
#include "link/transmit_manage.h"
#include "store/sql_management.h"
#include "support/language.h"
#include "support/log.h"
#include "support/program_dir.h"

CApplicationApp& CApplicationApp::Instance()
{
    static CApplicationApp application;
    return application;
}

bool CApplicationApp::InitInstance(const std::string& programDirectory)
{
    setlocale(LC_ALL, "");
    // Everything that finds its files relative to the program (store, adapter library) uses this one.
    SetProgramDirectory(programDirectory);

    // The log first: everything after it may log. A log that cannot be created is simply off.
    OpenLog(programDirectory);
    LOG_INFO("Fieldmate %s start", FIELDMATE_VERSION_TEXT);

    if (!AcquireSingleInstanceLock(kSingleInstanceName))
        return false;

    m_programDirectory = programDirectory;
    InitLanguage(programDirectory);
    m_settings = LoadSettings(programDirectory);
    m_skinDirectory = programDirectory + "Skin/";
    // The engine's construction makes the store, so the store is there before the engine's threads
    // start and goes after the engine at exit. A link that cannot start leaves its reason for the window.
    m_engine = &AcTransmitManage::GetInstance();
    if (!m_engine->Init(m_settings.retransmission_max, m_settings.retransmission_interval))
        m_linkStartFailure = m_engine->LastInitFailure();
    m_store = &CSqlManagement::GetInstance();
    return true;
}

int CApplicationApp::ExitInstance()
{
    LOG_INFO("Fieldmate exit");
    return 0;
}

std::string CApplicationApp::SkinPath(std::string_view file) const
{
    return m_skinDirectory + std::string(file);
}
