// The main window: page navigation and its two refresh timers, the tray, the information menu,
// the keys that must not close it, and the warning when the device link could not start.
#include <map>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QtTest>

#include "app/application_app.h"
#include "app/gui/application_dlg.h"
#include "app/gui/menu_dlg.h"
#include "common/temp_dir.h"
#include "pages/page_dlg.h"
#include "pages/page_host.h"
#include "store/sql_management.h"
#include "support/gui_test_support.h"
#include "support/test_program.h"
#include "ui/message_box.h"
#include "ui/page_timer.h"
#include "ui/picture_button.h"
#include "ui/url_opener.h"

namespace
{

// A page that counts what the container asks of it.
class CCountingPage : public CPageDlg
{
public:
    CCountingPage(int pageId, bool hasRefresh, QWidget* parent) : CPageDlg(pageId, parent), m_hasRefresh(hasRefresh) {}
    bool HasRefresh() const override { return m_hasRefresh; }
    void Refresh() override { ++refreshes; }
    void GoToPage(int pageNumber) override { chosenPages.push_back(pageNumber); }

    int refreshes = 0;
    std::vector<int> chosenPages;

private:
    bool m_hasRefresh;
};

const int kAllPages[] = {kPageStatus,  kPageManagement, kPageBridge,     kPageReboot,
                         kPageUpgrade, kPageRestore,    kPageSystemTool, kPageInstallHelp};

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CTestProgram> m_program;
    std::unique_ptr<CApplicationDlg> m_window;
    std::map<int, CCountingPage*> m_pages;

    CCountingPage* Page(int id) { return m_pages.at(id); }
    CPageTimer* Timer(int id) { return m_window->ChildDlg()->findChild<CPageTimer*>(QString("timer%1").arg(id)); }
    void Click(int pageId)
    {
        QTest::mouseClick(m_window->findChild<CPictureButton*>(QString("menuButton%1").arg(pageId)), Qt::LeftButton);
    }
    // Lets the 100 ms delayed refresh run out.
    void SettleDelayedRefresh() { QTRY_VERIFY(!Timer(2000)->IsActive()); }
    void ResetCounts()
    {
        for (auto& [id, page] : m_pages)
            page->refreshes = 0;
    }

private slots:
    void initTestCase()
    {
        // Support_url has no text in this language file; the others keep theirs.
        m_program = std::make_unique<CTestProgram>(
            [](const std::string& directory)
            {
                WriteTextFile(directory + "Languages/English.lng", "[ProgramOutStr]\n"
                                                                   "product_url=https://fieldmate.example/product\n"
                                                                   "contact_url=https://fieldmate.example/contact\n"
                                                                   "help_url=https://fieldmate.example/help\n"
                                                                   "cpemanagement=Fieldmate\n"
                                                                   "device status=Status\n");
            });
        CMessageBox::SetAnswerAllForTest(true);
        // The store of an in-process start-up lives in the test's own program directory.
        QCOMPARE(CSqlManagement::GetInstance().DatabasePath(), m_program->Path() + "data.mdb");
    }

    void init()
    {
        m_pages.clear();
        m_window = std::make_unique<CApplicationDlg>(
            [this](int pageId, QWidget* parent)
            {
                const bool listPage = pageId != kPageSystemTool && pageId != kPageInstallHelp;
                auto* page = new CCountingPage(pageId, listPage, parent);
                m_pages[pageId] = page;
                return page;
            });
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        SettleDelayedRefresh();
    }

    void cleanup()
    {
        m_window.reset();
        CApplicationDlg::SetTrayAvailableForTest(std::nullopt);
        SetUrlOpenerForTest({});
        CMessageBox::ClearShownBoxes();
        CApplicationApp::Instance().SetLinkStartFailure(std::nullopt);
    }

    void opensOnTheStatusPageAndRefreshesIt()
    {
        QCOMPARE(m_window->ChildDlg()->CurrentPage(), kPageStatus);
        QCOMPARE(Page(kPageStatus)->refreshes, 1);
        for (int id : kAllPages)
            QCOMPARE(Page(id)->isVisible(), id == kPageStatus);
        QVERIFY(m_window->MenuDlg()->Button(kPageStatus)->IsSelected());
        QCOMPARE(m_window->MenuDlg()->findChild<QLabel*>("versionLabel")->text(),
                 QString::fromStdString(CApplicationApp::Instance().Settings().VersionText));
        QCOMPARE(m_window->findChild<CPictureButton*>("menuButton133")->text(), QString("Status"));
    }

    void clickingTheCurrentPageRefreshesItOnceMoreLater()
    {
        Click(kPageStatus);
        QCOMPARE(Page(kPageStatus)->refreshes, 1); // not at once
        QVERIFY(Timer(2000)->IsActive());
        QCOMPARE(Timer(2000)->Period(), 100);
        QTRY_COMPARE(Page(kPageStatus)->refreshes, 2);
        QVERIFY(!Timer(2000)->IsActive()); // one shot
        QTest::qWait(250);
        QCOMPARE(Page(kPageStatus)->refreshes, 2);
    }

    void choosingAPageShowsOnlyItAndMarksOnlyItsButton()
    {
        Click(kPageBridge);
        QCOMPARE(m_window->ChildDlg()->CurrentPage(), kPageBridge);
        for (int id : kAllPages)
        {
            QCOMPARE(Page(id)->isVisible(), id == kPageBridge);
            QCOMPARE(m_window->MenuDlg()->Button(id)->IsSelected(), id == kPageBridge);
        }
        QTRY_COMPARE(Page(kPageBridge)->refreshes, 1);
    }

    void installHelpAndSystemToolChoicesRefreshNothing()
    {
        ResetCounts();
        for (int id : {kPageInstallHelp, kPageSystemTool})
        {
            Click(id);
            QVERIFY(Timer(2000)->IsActive());
            SettleDelayedRefresh();
        }
        for (auto& [id, page] : m_pages)
            QCOMPARE(page->refreshes, 0);
    }

    void thirtySecondTimerSkipsRebootUpgradeAndRestore_data()
    {
        QTest::addColumn<int>("pageId");
        QTest::addColumn<int>("expected");
        QTest::newRow("status") << kPageStatus << 1;
        QTest::newRow("management") << kPageManagement << 1;
        QTest::newRow("bridge") << kPageBridge << 1;
        QTest::newRow("reboot") << kPageReboot << 0;
        QTest::newRow("upgrade") << kPageUpgrade << 0;
        QTest::newRow("restore") << kPageRestore << 0;
        QTest::newRow("system tool") << kPageSystemTool << 0;
        QTest::newRow("install help") << kPageInstallHelp << 0;
    }

    void thirtySecondTimerSkipsRebootUpgradeAndRestore()
    {
        QFETCH(int, pageId);
        QFETCH(int, expected);
        Click(pageId);
        SettleDelayedRefresh();
        ResetCounts();
        QCOMPARE(Timer(1000)->Period(), 30000);
        QVERIFY(Timer(1000)->Fire());
        QCOMPARE(Page(pageId)->refreshes, expected);
    }

    void thirtySecondTimerDoesNothingWhileTheFlagIsClear()
    {
        ResetCounts();
        PageHost()->SetAutoRefresh(false);
        QVERIFY(Timer(1000)->Fire());
        QCOMPARE(Page(kPageStatus)->refreshes, 0);
        PageHost()->SetAutoRefresh(true);
        QVERIFY(Timer(1000)->Fire());
        QCOMPARE(Page(kPageStatus)->refreshes, 1);
    }

    void pagerNotificationReachesOnlyListPages()
    {
        NotifyPageChosen(kPageManagement, 3);
        NotifyPageChosen(kPageSystemTool, 2);
        NotifyPageChosen(kPageInstallHelp, 2);
        QTRY_COMPARE(Page(kPageManagement)->chosenPages, std::vector<int>{3});
        QCoreApplication::sendPostedEvents();
        QVERIFY(Page(kPageSystemTool)->chosenPages.empty());
        QVERIFY(Page(kPageInstallHelp)->chosenPages.empty());
    }

    void menuCanBeDisabledAsAWhole()
    {
        PageHost()->EnableMenu(false);
        for (int id : kAllPages)
            QVERIFY(!m_window->MenuDlg()->Button(id)->isEnabled());
        Click(kPageBridge);
        QCOMPARE(m_window->ChildDlg()->CurrentPage(), kPageStatus);
        PageHost()->EnableMenu(true);
        QVERIFY(m_window->MenuDlg()->Button(kPageBridge)->isEnabled());
    }

    void exitFromTheTrayMenuClosesAHiddenWindow()
    {
        CApplicationDlg::SetTrayAvailableForTest(true);
        m_window->hide();
        bool hiddenWhenMinimised = false;
        bool shownOnExit = true;
        QTimer::singleShot(0, this,
                           [&]
                           {
                               QTest::mouseClick(m_window->findChild<CPictureButton*>("minButton"), Qt::LeftButton);
                               hiddenWhenMinimised = !m_window->isVisible();
                               m_window->TrayMenu()->findChild<QAction*>("trayExit")->trigger();
                               shownOnExit = m_window->isVisible();
                           });
        // RunModal shows the window; the minimise button hides it again in the tray.
        QCOMPARE(m_window->RunModal(), int(QDialog::Accepted));
        QVERIFY(hiddenWhenMinimised);
        QVERIFY(!shownOnExit);
        QVERIFY(!m_window->isVisible());
    }

    void showUtilityBringsTheHiddenWindowBack()
    {
        CApplicationDlg::SetTrayAvailableForTest(true);
        QTest::mouseClick(m_window->findChild<CPictureButton*>("minButton"), Qt::LeftButton);
        QVERIFY(!m_window->isVisible());
        // The container keeps refreshing while hidden.
        ResetCounts();
        QVERIFY(Timer(1000)->Fire());
        QCOMPARE(Page(kPageStatus)->refreshes, 1);
        m_window->TrayMenu()->findChild<QAction*>("trayShow")->trigger();
        QVERIFY(m_window->isVisible());
    }

    void withoutATrayMinimiseMinimisesInsteadOfHiding()
    {
        CApplicationDlg::SetTrayAvailableForTest(false);
        QTest::mouseClick(m_window->findChild<CPictureButton*>("minButton"), Qt::LeftButton);
        QVERIFY(m_window->isVisible());
        QVERIFY(m_window->windowState() & Qt::WindowMinimized);
    }

    void closeButtonEndsTheRun()
    {
        QTimer::singleShot(
            0, this, [&] { QTest::mouseClick(m_window->findChild<CPictureButton*>("closeButton"), Qt::LeftButton); });
        QCOMPARE(m_window->RunModal(), int(QDialog::Accepted));
        QVERIFY(!m_window->isVisible());
    }

    void closingEndsTheRunWhileAMessageBoxShows()
    {
        CMessageBox::SetAnswerAllForTest(false);
        bool answered = true;
        QTimer::singleShot(0, this, [&] { answered = CMessageBox::Confirm(m_window.get(), "Reboot the devices?"); });
        QTimer::singleShot(0, this,
                           [&]
                           {
                               QTRY_VERIFY(m_window->findChild<QMessageBox*>() != nullptr);
                               m_window->done(QDialog::Accepted);
                           });
        // Without the window ending the box, the box's own loop would keep this run going.
        QTimer::singleShot(10000, this,
                           [&]
                           {
                               if (auto* box = m_window->findChild<QMessageBox*>())
                                   box->done(QMessageBox::Ok);
                           });
        QCOMPARE(m_window->RunModal(), int(QDialog::Accepted));
        CMessageBox::SetAnswerAllForTest(true);
        QVERIFY(!answered); // the box ended as cancelled
        QVERIFY(!m_window->isVisible());
    }

    void enterAndEscapeLeaveTheWindowOpen()
    {
        bool visibleAfterKeys = false;
        QTimer::singleShot(0, this,
                           [&]
                           {
                               for (QWidget* target :
                                    {static_cast<QWidget*>(m_window.get()), static_cast<QWidget*>(Page(kPageStatus))})
                                   for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter})
                                       QTest::keyClick(target, key);
                               QCoreApplication::processEvents();
                               visibleAfterKeys = m_window->isVisible();
                               m_window->done(QDialog::Accepted);
                           });
        // Only the done() after the keys ends the run.
        QCOMPARE(m_window->RunModal(), int(QDialog::Accepted));
        QVERIFY(visibleAfterKeys);
    }

    void informationItemsOpenTheLanguageTextOfTheirKeys()
    {
        QStringList opened;
        SetUrlOpenerForTest([&](const QString& url) { opened << url; });
        QMenu* menu = m_window->InfoMenu();
        QCOMPARE(menu->actions().size(), 4);
        for (const char* name : {"infoProduct", "infoSupport", "infoContact", "infoHelp"})
        {
            QAction* item = menu->findChild<QAction*>(name);
            QVERIFY2(item != nullptr, name);
            QVERIFY(!item->icon().isNull());
            item->trigger();
        }
        // Support_url has no text: the lookup's own result goes on unchanged.
        QCOMPARE(opened, QStringList({"https://fieldmate.example/product", "Support_url",
                                      "https://fieldmate.example/contact", "https://fieldmate.example/help"}));
    }

    void buttonsCarryTheirTooltips()
    {
        QCOMPARE(m_window->findChild<CPictureButton*>("infoButton")->toolTip(), QString("Info"));
        QCOMPARE(m_window->findChild<CPictureButton*>("minButton")->toolTip(), QString("Min"));
        QCOMPARE(m_window->findChild<CPictureButton*>("closeButton")->toolTip(), QString("Close"));
        QVERIFY(m_window->SystemMenu()->findChild<QAction*>("systemAbout") != nullptr);
    }

    void linkStartFailureIsSaidOnceInAWarningBox()
    {
        m_window.reset();
        CApplicationApp::Instance().SetLinkStartFailure("UDP port 9787 is in use by another program");
        CApplicationDlg window([](int pageId, QWidget* parent) { return new CCountingPage(pageId, true, parent); });
        window.show();
        QTRY_COMPARE(CMessageBox::ShownBoxes().size(), size_t(1));
        const CMessageBox::Shown& box = CMessageBox::ShownBoxes().front();
        QCOMPARE(box.kind, CMessageBox::Kind::Warning);
        QVERIFY(box.title.isEmpty());
        QVERIFY2(box.text.contains("UDP port 9787 is in use by another program"), qPrintable(box.text));
        window.hide();
        window.show();
        QTest::qWait(50);
        QCOMPARE(CMessageBox::ShownBoxes().size(), size_t(1));
    }

    void noWarningWhenTheLinkStarted()
    {
        QTest::qWait(50);
        QVERIFY(CMessageBox::ShownBoxes().empty());
    }

    void screenshot()
    {
        Click(kPageStatus);
        const QString path = SaveScreenshot(m_window.get(), "main_window_placeholder_pages");
        QVERIFY(path.isEmpty() || QFile::exists(path));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
