// The system tool page's adapter list and the install help picture, and the main window with the
// program's own pages (screenshots).
#include <cstring>
#include <filesystem>

#include <QLabel>
#include <QtTest>

#include "app/gui/about_dlg.h"
#include "app/gui/application_dlg.h"
#include "app/gui/child_dlg.h"
#include "app/gui/menu_dlg.h"
#include "common/temp_dir.h"
#include "pages/install_help_dlg.h"
#include "pages/system_tool_dlg.h"
#include "support/gui_test_support.h"
#include "support/language.h"
#include "support/test_program.h"
#include "ui/grid_view.h"
#include "ui/page_timer.h"
#include "ui/scroll_picture_view.h"

namespace
{

local_adapter_info Adapter(const char* description, uint8_t lastMacByte, std::initializer_list<const char*> addresses)
{
    local_adapter_info adapter{};
    adapter.state = 1;
    const uint8_t mac[6] = {0x02, 0x1a, 0x2b, 0x3c, 0x4d, lastMacByte};
    std::memcpy(adapter.mac, mac, sizeof(mac));
    std::strncpy(adapter.description, description, sizeof(adapter.description) - 1);
    for (const char* address : addresses)
        std::strncpy(adapter.addresses[adapter.address_count++].ip, address, 15);
    return adapter;
}

QStringList RowTexts(const CGridModel* model, int row)
{
    QStringList texts;
    for (int column = 0; column < model->columnCount(); ++column)
        texts << model->CellText(row, column);
    return texts;
}

} // namespace

class SystemToolTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CTestProgram> m_program;
    std::vector<local_adapter_info> m_adapters;

    AdapterSource Source()
    {
        return [this] { return m_adapters; };
    }

private slots:
    void initTestCase()
    {
        // Only the Chinese help picture exists, so the page's choice of file shows.
        m_program = std::make_unique<CTestProgram>([](const std::string& directory)
                                                   { std::filesystem::remove(directory + "Skin/help_other.jpg"); });
    }

    void listsEveryAdapterWithItsAddressesJoined()
    {
        m_adapters = {Adapter("eth0", 0x01, {"10.77.1.2", "10.77.9.2"}), Adapter("wlan0", 0xff, {"10.77.3.4"})};
        CSystemToolDlg page(Source(), nullptr);
        const CGridModel* model = page.findChild<CGridView*>("adapterGrid")->Model();
        QCOMPARE(model->columnCount(), 4);
        QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QString("Description"));
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(RowTexts(model, 0), QStringList({"1", "eth0", "02:1a:2b:3c:4d:01", "10.77.1.2--10.77.9.2"}));
        QCOMPARE(RowTexts(model, 1), QStringList({"2", "wlan0", "02:1a:2b:3c:4d:ff", "10.77.3.4"}));
        QCOMPARE(page.findChild<QLabel*>("adapterCountLabel")->text(), QString("Adapter count: 2"));
    }

    void refreshesEveryFiveSecondsAndDropsAnAdapterThatWentDown()
    {
        m_adapters = {Adapter("eth0", 0x01, {"10.77.1.2"}), Adapter("eth1", 0x02, {"10.77.2.2"})};
        CSystemToolDlg page(Source(), nullptr);
        CPageTimer* timer = page.findChild<CPageTimer*>("timer1000");
        QVERIFY(timer != nullptr);
        QCOMPARE(timer->Period(), 5000);

        m_adapters.erase(m_adapters.begin());
        QVERIFY(timer->Fire());
        const CGridModel* model = page.findChild<CGridView*>("adapterGrid")->Model();
        QCOMPARE(model->rowCount(), 1);
        QCOMPARE(RowTexts(model, 0), QStringList({"1", "eth1", "02:1a:2b:3c:4d:02", "10.77.2.2"}));

        m_adapters.clear();
        QVERIFY(timer->Fire());
        QCOMPARE(model->rowCount(), 0);
        QCOMPARE(page.findChild<QLabel*>("adapterCountLabel")->text(), QString("Adapter count: 0"));
    }

    void installHelpPictureFollowsTheLanguage()
    {
        const uint32_t lcid = GetCurrentLcid();
        InitLanguage(m_program->Path(), kLcidChineseSimplified);
        {
            CInstallHelpDlg page(nullptr);
            QVERIFY(page.PictureView()->HasPicture());
        }
        // The other languages' picture was removed: the viewer stays empty and the page still works.
        InitLanguage(m_program->Path(), kLcidEnglish);
        {
            CInstallHelpDlg page(nullptr);
            QVERIFY(!page.PictureView()->HasPicture());
            page.resize(400, 300);
            QVERIFY(!page.grab().isNull());
        }
        InitLanguage(m_program->Path(), lcid);
    }

    void screenshots()
    {
        m_adapters = {Adapter("Wired LAN", 0x01, {"10.77.1.2", "10.77.9.2"}),
                      Adapter("Wireless LAN", 0x02, {"10.77.3.4"})};
        // The Chinese help picture is the one this program directory has.
        const uint32_t lcid = GetCurrentLcid();
        InitLanguage(m_program->Path(), kLcidChineseSimplified);
        CApplicationDlg window(
            [this](int pageId, QWidget* parent) -> CPageDlg*
            {
                if (pageId == kPageSystemTool)
                    return new CSystemToolDlg(Source(), parent);
                return CChildDlg::CreateProgramPage(pageId, parent);
            });
        InitLanguage(m_program->Path(), lcid);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        SaveScreenshot(&window, "main_window");
        window.MenuDlg()->SelectPage(kPageSystemTool);
        QCoreApplication::processEvents();
        SaveScreenshot(&window, "main_window_system_tool");
        window.MenuDlg()->SelectPage(kPageInstallHelp);
        QCoreApplication::processEvents();
        SaveScreenshot(&window, "main_window_install_help");
        auto* help = window.findChild<CScrollPictureView*>("helpPictureView");
        QVERIFY(help->isVisible());
        QVERIFY(help->HasPicture());

        CAboutDlg about(&window);
        about.show();
        SaveScreenshot(&about, "about_box");
        QVERIFY(about.findChild<QLabel*>("aboutVersion")->text().startsWith("V"));
    }
};

QTEST_MAIN(SystemToolTest)
#include "system_tool_test.moc"
