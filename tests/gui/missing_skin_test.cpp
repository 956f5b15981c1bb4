// The program without any skin picture and without the adapter library: every page still opens.
#include <filesystem>

#include <QtTest>

#include "app/gui/application_dlg.h"
#include "app/gui/menu_dlg.h"
#include "pages/page_dlg.h"
#include "support/gui_test_support.h"
#include "support/test_program.h"
#include "ui/grid_view.h"
#include "ui/picture_button.h"

class MissingSkinTest : public QObject
{
    Q_OBJECT

private slots:
    void everyPageOpensWithoutPictures()
    {
        CTestProgram program([](const std::string& directory) { std::filesystem::remove_all(directory + "Skin"); });
        CApplicationDlg window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (int pageId : {kPageStatus, kPageManagement, kPageBridge, kPageReboot, kPageUpgrade, kPageRestore,
                           kPageSystemTool, kPageInstallHelp})
        {
            QTest::mouseClick(window.findChild<CPictureButton*>(QString("menuButton%1").arg(pageId)), Qt::LeftButton);
            QCOMPARE(window.ChildDlg()->CurrentPage(), pageId);
            QVERIFY(window.findChild<QWidget*>(QString("page%1").arg(pageId))->isVisible());
        }
        // No library in this program directory: the list is empty and says so.
        QCOMPARE(window.findChild<CGridView*>("adapterGrid")->Model()->rowCount(), 0);
        window.MenuDlg()->SelectPage(kPageSystemTool);
        QVERIFY(!window.grab().isNull());
        SaveScreenshot(&window, "main_window_without_skin");
    }
};

QTEST_MAIN(MissingSkinTest)
#include "missing_skin_test.moc"
