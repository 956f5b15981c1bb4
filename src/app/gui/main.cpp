// The desktop program: the shared start-up sequence, then the main window until it closes.
#include <QApplication>
#include <QSocketNotifier>

#include "app/application_app.h"
#include "app/gui/application_dlg.h"
#include "app/stop_signal.h"
#include "support/program_dir.h"

int main(int argc, char* argv[])
{
    QApplication qtApplication(argc, argv);
    CApplicationApp& application = CApplicationApp::Instance();
    if (!application.InitInstance(GetProgramDirectory()))
        return 0;

    CApplicationDlg mainWindow;
    // A stop signal closes the window the way the close button does, so the whole shutdown runs.
    QSocketNotifier stopNotifier(InstallStopSignals(), QSocketNotifier::Read);
    QObject::connect(&stopNotifier, &QSocketNotifier::activated, &mainWindow,
                     [&mainWindow] { mainWindow.done(QDialog::Accepted); });
    mainWindow.exec();

    application.ExitInstance();
    return 0;
}
