// The desktop program: the shared start-up sequence, then the main window until it closes.
#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>

#include "app/application_app.h"
#include "app/gui/application_dlg.h"
#include "app/stop_signal.h"
#include "store/sql_management.h"
#include "support/program_dir.h"
#include "ui/message_box.h"
#include "ui/skin_style.h"
#include "ui/text_bridge.h"

int main(int argc, char* argv[])
{
    QApplication qtApplication(argc, argv);
    // Hidden in the tray the window is still running; only its own close ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setStyle(new CSkinStyle);
    // Handled from the start: a stop signal while the window is still being built must not kill the process.
    const int stopDescriptor = InstallStopSignals();
    CApplicationApp& application = CApplicationApp::Instance();
    if (!application.InitInstance(GetProgramDirectory()))
        return 0;

    CApplicationDlg mainWindow;
    // A stop signal closes the window the way the close button does, so the whole shutdown runs.
    QSocketNotifier stopNotifier(stopDescriptor, QSocketNotifier::Read);
    QObject::connect(&stopNotifier, &QSocketNotifier::activated, &mainWindow,
                     [&mainWindow] { mainWindow.done(QDialog::Accepted); });
    if (!application.Store()->IsUsable())
    {
        // Over the shown window; a stop signal still ends the run while it shows (the window closes its boxes).
        QTimer::singleShot(
            0, &mainWindow,
            [&mainWindow]
            { CMessageBox::Plain(&mainWindow, LookupQText(std::string_view(kDatabaseOpenFailedMessage))); });
    }
    mainWindow.RunModal();

    application.ExitInstance();
    return 0;
}
