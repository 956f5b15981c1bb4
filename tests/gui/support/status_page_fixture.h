// The main window with the real status page over a fake device link, a store filled through its own
// writes, and the helpers the list and status page tests click with. Timers never fire on their
// own: tests fire them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QString>
#include <QStringList>

#include "link/config_info.h"
#include "support/fake_device_link.h"
#include "support/test_program.h"

class CApplicationDlg;
class CGridView;
class CPageTimer;
class CStatusDlg;
class QObject;
class QWidget;

// A stored device: MAC 02:00:00:00:hh:ll of number, model 1, AP mode, named "device <number>".
ap_info_stu TestDevice(int number, const std::string& ip);
// The device row of the pending list (status 10); with a configuration only when ssid is given.
ap_info_stu PendingDevice(int number, const std::string& ip, const std::string& ssid = {});
std::string TestMacText(int number);

class CStatusPageFixture
{
public:
    // Once per test program: the program directory, message boxes answered, timers held.
    static void SetUpProgram();

    CStatusPageFixture();
    ~CStatusPageFixture();

    CFakeDeviceLink& Link() { return m_link; }
    CApplicationDlg& Window() { return *m_window; }
    CStatusDlg& Page() { return *m_page; }
    CGridView& Grid();

    // Stores the devices (their rows are written as online).
    void Store(const std::vector<ap_info_stu>& devices);
    // Devices 0 to count-1 at 10.0.0.1, 10.0.0.2, ...
    void StoreNumbered(int count);
    // The container's 100 ms refresh after a page is chosen, as at start.
    void ShowFirstTime();

    CPageTimer* PageTimer(int id);
    CPageTimer* ContainerTimer(int id);

    void ClickHeader(int column);
    void ClickCell(int row, int column);
    void ClickButton(const char* objectName);
    // Opens the in-place editor of the cell, types text over it and presses Enter.
    void EditCell(int row, int column, const QString& text);

    QStringList Column(int column);
    QString Cell(int row, int column);

private:
    CFakeDeviceLink m_link;
    std::unique_ptr<CApplicationDlg> m_window;
    CStatusDlg* m_page = nullptr;
};
