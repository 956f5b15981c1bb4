// The application object: the start-up sequence and shutdown that the GUI and the command line share,
// and the state every page reaches through it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "app/settings.h"
#include "support/operate_character.h"
#include "support/operate_file_ini.h"
#include "support/operate_system_info.h"

class AcTransmitManage;
class CSqlManagement;

constexpr const char* kSingleInstanceName = "Kavro_Fieldmate";

class CApplicationApp
{
public:
    static CApplicationApp& Instance();

    // Start-up up to the main window: log, single-instance lock, language, settings, skin paths,
    // device link and store. False when the run must end at once (another instance runs).
    bool InitInstance(const std::string& programDirectory);

    // Shutdown before the process-wide singletons go: the engine, then the store.
    int ExitInstance();

    const CSettings& Settings() const { return m_settings; }
    const std::string& ProgramDirectory() const { return m_programDirectory; }
    std::string SkinPath(std::string_view file) const;

    // Why the device link could not start (it names the port), or none. Start-up fills it; the main
    // window says it once, so the user is not left waiting for a list that will never fill.
    void SetLinkStartFailure(std::optional<std::string> reason) { m_linkStartFailure = std::move(reason); }
    const std::optional<std::string>& LinkStartFailure() const { return m_linkStartFailure; }

    COperateSystemInfo& SystemInfo() { return m_systemInfo; }
    COperateFileIni& FileIni() { return m_fileIni; }
    COperateCharacter& Character() { return m_character; }

    // The device link engine and the device store, set by start-up and never cleared.
    AcTransmitManage* Engine() const { return m_engine; }
    CSqlManagement* Store() const { return m_store; }

private:
    CApplicationApp() = default;

    std::string m_programDirectory;
    std::string m_skinDirectory;
    CSettings m_settings;
    COperateSystemInfo m_systemInfo;
    COperateFileIni m_fileIni;
    COperateCharacter m_character;
    AcTransmitManage* m_engine = nullptr;
    CSqlManagement* m_store = nullptr;
    std::optional<std::string> m_linkStartFailure;
};
