// The desktop program: the shared start-up sequence, then the main window until it closes.
#include <QApplication>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QTimer>

#include "app/application_app.h"
#include "app/gui/application_dlg.h"
#include "app/stop_signal.h"
#include "store/sql_management.h"
#include "support/program_dir.h"
#include "ui/text_bridge.h"

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
    if (!application.Store()->IsUsable())
    {
        // A plain box over the window, so that a stop signal still ends the run while it shows.
        QTimer::singleShot(0, &mainWindow,
                           [&mainWindow]
                           {
                               auto* box = new QMessageBox(QMessageBox::NoIcon, mainWindow.windowTitle(),
                                                           LookupQText(std::string_view(kDatabaseOpenFailedMessage)),
                                                           QMessageBox::Ok, &mainWindow);
                               box->setAttribute(Qt::WA_DeleteOnClose);
                               box->open();
                           });
    }
    mainWindow.exec();

    application.ExitInstance();
    return 0;
}
