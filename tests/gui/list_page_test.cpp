// The list mechanics every device list page shares, on the status page: sorting and its direction,
// the search box, the page size, the pager, the online count, the tick column and the refreshes.
#include <algorithm>

#include <QComboBox>
#include <QPushButton>
#include <QtTest>

#include "app/application_app.h"
#include "app/gui/application_dlg.h"
#include "common/temp_dir.h"
#include "link/address_text.h"
#include "pages/pager.h"
#include "pages/status_dlg.h"
#include "store/sql_management.h"
#include "support/log.h"
#include "support/status_page_fixture.h"
#include "ui/edit_field.h"
#include "ui/format_text.h"
#include "ui/grid_header.h"
#include "ui/grid_view.h"
#include "ui/page_timer.h"
#include "ui/picture_button.h"
#include "ui/static_text.h"

namespace
{

int CountLogLines(const QString& message)
{
    const QString log = QString::fromStdString(ReadTextFile(CurrentLogPath()));
    return static_cast<int>(log.count("]" + message + "\r\n"));
}

QStringList Sorted(QStringList texts, bool ascending, const std::function<bool(const QString&, const QString&)>& less)
{
    std::sort(texts.begin(), texts.end(), less);
    if (!ascending)
        std::reverse(texts.begin(), texts.end());
    return texts;
}

bool IpLess(const QString& a, const QString& b)
{
    return IpTextToNumber(a.toStdString()) < IpTextToNumber(b.toStdString());
}

bool TextLess(const QString& a, const QString& b)
{
    return a < b;
}

} // namespace

class ListPageTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CStatusPageFixture> f;

    CPager* Pager() { return f->Page().Pager(); }

private slots:
    void initTestCase() { CStatusPageFixture::SetUpProgram(); }
    void init() { f = std::make_unique<CStatusPageFixture>(); }
    void cleanup() { f.reset(); }

    void firstDisplayIsSortedByAddressHighestFirstThirtyPerPage()
    {
        // Addresses whose text order differs from their numeric order.
        f->StoreNumbered(35);
        f->Store({TestDevice(100, "9.200.0.1"), TestDevice(101, "192.168.1.10"), TestDevice(102, "192.168.1.9")});
        f->ShowFirstTime();

        QCOMPARE(f->Page().PageSize(), 30);
        QCOMPARE(f->Page().PageSizeCombo()->currentText(), QString("30"));
        QCOMPARE(f->Grid().Model()->RowCount(), 30);
        const QStringList ips = f->Column(kStatusColumnIp);
        QCOMPARE(ips.mid(0, 3), QStringList({"192.168.1.10", "192.168.1.9", "10.0.0.35"}));
        QCOMPARE(ips, Sorted(ips, false, IpLess));
        QCOMPARE(f->Grid().Header()->SortColumn(), int(kStatusColumnIp));
        QVERIFY(!f->Grid().Header()->SortAscending());
        QCOMPARE(f->Column(kStatusColumnSerial).first(), QString("1"));
        QCOMPARE(f->Column(kStatusColumnSerial).last(), QString("30"));
        QCOMPARE(f->Page().CountLabel()->text(), FormatLookup("Online device count:%d", {"38"}));
    }

    void onlineCountLeavesOutOfflineDevicesOnEveryPage()
    {
        f->StoreNumbered(33);
        CApplicationApp::Instance().Store()->SetDeviceStatus(TestMacText(0), 0);
        CApplicationApp::Instance().Store()->SetDeviceStatus(TestMacText(32), 0);
        f->ShowFirstTime();
        QCOMPARE(f->Page().OnlineCount(), 31);
        QCOMPARE(f->Page().CountLabel()->text(), FormatLookup("Online device count:%d", {"31"}));
    }

    void macHeaderClickedTwiceThenARefreshKeepsDescendingByMac()
    {
        f->Store({TestDevice(7, "10.0.0.1"), TestDevice(3, "10.0.0.2"), TestDevice(12, "10.0.0.3"),
                  TestDevice(1, "10.0.0.4")});
        f->ShowFirstTime();

        f->ClickHeader(kStatusColumnMac);
        const QStringList ascending = f->Column(kStatusColumnMac);
        QCOMPARE(ascending, Sorted(ascending, true, TextLess));
        QCOMPARE(ascending.first(), QString::fromStdString(TestMacText(1)));
        QVERIFY(f->Grid().Header()->SortAscending());

        f->ClickHeader(kStatusColumnMac);
        const QStringList descending = f->Column(kStatusColumnMac);
        QCOMPARE(descending, Sorted(ascending, false, TextLess));
        QVERIFY(!f->Grid().Header()->SortAscending());

        QVERIFY(f->ContainerTimer(1000)->Fire()); // the 30-second refresh
        QCOMPARE(f->Column(kStatusColumnMac), descending);
        QCOMPARE(f->Page().SortColumn(), int(kStatusColumnMac));
        QVERIFY(!f->Grid().Header()->SortAscending());
    }

    void eachHeaderClickFlipsTheDirectionAlsoOnANewColumn()
    {
        f->StoreNumbered(5);
        f->ShowFirstTime();
        f->ClickHeader(kStatusColumnMac); // ascending
        f->ClickHeader(kStatusColumnIp);  // the flag was flipped: descending on the new column
        const QStringList ips = f->Column(kStatusColumnIp);
        QCOMPARE(ips, Sorted(ips, false, IpLess));
        QCOMPARE(ips.first(), QString("10.0.0.5"));
    }

    void headersWithoutASortCodeSortNothing()
    {
        f->StoreNumbered(5);
        f->ShowFirstTime();
        const int before = CountLogLines("UpdateListData");
        f->ClickHeader(kStatusColumnSerial);
        f->ClickHeader(kStatusColumnOperate);
        QCOMPARE(CountLogLines("UpdateListData"), before);
        QCOMPARE(f->Page().SortColumn(), int(kStatusColumnIp));
    }

    void sortCodesOfTheStatusColumns()
    {
        const int expected[] = {1, 1, 2, 3, 1, 0, 4, 5, 6, 9, 10, 11, 12, 1};
        for (int column = 0; column <= kStatusColumnOperate; ++column)
            QCOMPARE(f->Page().SortCodeOf(column), expected[column]);
    }

    void everyKeystrokeInTheSearchBoxRequeriesFromPageOne()
    {
        f->StoreNumbered(40);
        f->ShowFirstTime();
        f->Page().GoToPage(2);
        QCOMPARE(f->Page().PageNumber(), 2);

        const QString typed = "10.0.0.3";
        for (int i = 0; i < typed.size(); ++i)
        {
            f->Page().GoToPage(2);
            const int before = CountLogLines("UpdateListData");
            QTest::keyClick(f->Page().SearchBox(), typed[i].toLatin1());
            QCOMPARE(CountLogLines("UpdateListData"), before + 1);
            QCOMPARE(f->Page().PageNumber(), 1);
            QCOMPARE(f->Page().SearchText(), typed.left(i + 1));
        }
        // 10.0.0.3 and 10.0.0.30 to 10.0.0.39, highest first.
        QStringList expected{"10.0.0.39", "10.0.0.38", "10.0.0.37", "10.0.0.36", "10.0.0.35", "10.0.0.34",
                             "10.0.0.33", "10.0.0.32", "10.0.0.31", "10.0.0.30", "10.0.0.3"};
        QCOMPARE(f->Column(kStatusColumnIp), expected);
        QCOMPARE(f->Page().CountLabel()->text(), FormatLookup("Online device count:%d", {"11"}));

        // A refresh keeps the search.
        QVERIFY(f->ContainerTimer(1000)->Fire());
        QCOMPARE(f->Column(kStatusColumnIp), expected);
    }

    void choosingAPageSizeRequeriesFromPageOne()
    {
        f->StoreNumbered(40);
        f->ShowFirstTime();
        f->Page().GoToPage(2);
        f->Page().PageSizeCombo()->setCurrentIndex(f->Page().PageSizeCombo()->findData(15));
        QCOMPARE(f->Page().PageNumber(), 1);
        QCOMPARE(f->Grid().Model()->RowCount(), 15);
        QCOMPARE(Pager()->ItemTexts(), QStringList({"1", "2", "3"}));
        QCOMPARE(f->Page().PageSizeCombo()->count(), 4);
        QCOMPARE(f->Page().PageSizeCombo()->itemText(3), QString("100"));
    }

    void thirtyOneDevicesGivePagesOneAndTwoAndSerialThirtyOneOnPageTwo()
    {
        f->StoreNumbered(31);
        f->ShowFirstTime();
        QCOMPARE(Pager()->ItemTexts(), QStringList({"1", "2"}));
        QVERIFY(Pager()->findChild<QPushButton*>("pagerButton1")->font().bold());
        QVERIFY(!Pager()->findChild<QPushButton*>("pagerButton2")->font().bold());

        // The pager tells the page container, which has the page go to page 2.
        QTest::mouseClick(Pager()->findChild<QPushButton*>("pagerButton2"), Qt::LeftButton);
        QTRY_COMPARE(f->Page().PageNumber(), 2);
        QCOMPARE(f->Column(kStatusColumnSerial), QStringList({"31"}));
        QCOMPARE(f->Column(kStatusColumnIp), QStringList({"10.0.0.1"}));
        QCOMPARE(Pager()->CurrentPage(), 2);
        QVERIFY(Pager()->findChild<QPushButton*>("pagerButton2")->font().bold());
    }

    void pagerShowsAtMostSevenPagesWithGaps_data()
    {
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("none") << 1 << 0 << QStringList();
        QTest::newRow("seven") << 7 << 7 << QStringList({"1", "2", "3", "4", "5", "6", "7"});
        QTest::newRow("20 at 10") << 10 << 20 << QStringList({"1", "...", "9", "10", "11", "...", "20"});
        QTest::newRow("20 at 18") << 18 << 20 << QStringList({"1", "...", "16", "17", "18", "19", "20"});
        QTest::newRow("20 at 4") << 4 << 20 << QStringList({"1", "2", "3", "4", "5", "...", "20"});
        QTest::newRow("20 at 5") << 5 << 20 << QStringList({"1", "...", "4", "5", "6", "...", "20"});
        QTest::newRow("20 at 17") << 17 << 20 << QStringList({"1", "...", "16", "17", "18", "19", "20"});
        QTest::newRow("8 at 5") << 5 << 8 << QStringList({"1", "...", "4", "5", "6", "7", "8"});
        QTest::newRow("above the count") << 9 << 3 << QStringList({"1", "2", "3"});
    }

    void pagerShowsAtMostSevenPagesWithGaps()
    {
        QFETCH(int, current);
        QFETCH(int, count);
        QFETCH(QStringList, items);
        Pager()->SetPages(current, count);
        QCOMPARE(Pager()->ItemTexts(), items);
        if (count > 0)
        {
            const int shown = current > count ? 1 : current;
            QCOMPARE(Pager()->CurrentPage(), shown);
            for (auto* button : Pager()->findChildren<QPushButton*>())
                QCOMPARE(button->font().bold(), button->text() == QString::number(shown));
        }
    }

    void aPageThatNoLongerExistsShowsTheLastPage()
    {
        f->StoreNumbered(31);
        f->ShowFirstTime();
        f->Page().GoToPage(2);
        CApplicationApp::Instance().Store()->DeleteDevice(TestMacText(0));
        QVERIFY(f->ContainerTimer(1000)->Fire());
        QCOMPARE(f->Page().PageNumber(), 1);
        QCOMPARE(f->Grid().Model()->RowCount(), 30);
        QCOMPARE(Pager()->ItemTexts(), QStringList({"1"}));

        // No device at all: page 1, no rows, no pager buttons.
        f->Page().GoToPage(3);
        f->Page().SearchBox()->setText("no such device");
        QCOMPARE(f->Page().PageNumber(), 1);
        QCOMPARE(f->Grid().Model()->RowCount(), 0);
        QVERIFY(Pager()->ItemTexts().isEmpty());
        QCOMPARE(f->Page().CountLabel()->text(), FormatLookup("Online device count:%d", {"0"}));
    }

    void aRefreshClearsEveryTick()
    {
        f->StoreNumbered(4);
        f->ShowFirstTime();
        f->ClickCell(0, kStatusColumnTick);
        f->ClickCell(2, kStatusColumnTick);
        QCOMPARE(f->Grid().Model()->TickedRows(), std::vector<int>({0, 2}));
        f->ClickHeader(kStatusColumnTick);
        QCOMPARE(f->Grid().Model()->TickedRows().size(), size_t(4));
        QVERIFY(f->Grid().Model()->AllTicked());

        QVERIFY(f->ContainerTimer(1000)->Fire());
        QVERIFY(f->Grid().Model()->TickedRows().empty());
        QVERIFY(!f->Grid().Model()->AllTicked());
        QCOMPARE(f->Grid().Model()->RowCount(), 4);
    }

    void headerTickClearsWhatItTicked()
    {
        f->StoreNumbered(3);
        f->ShowFirstTime();
        f->ClickCell(1, kStatusColumnTick);
        f->ClickHeader(kStatusColumnTick);
        QCOMPARE(f->Grid().Model()->TickedRows().size(), size_t(3));
        f->ClickHeader(kStatusColumnTick);
        QVERIFY(f->Grid().Model()->TickedRows().empty());
        QVERIFY(!f->Grid().Model()->AllTicked());
    }

    void refreshButtonAndLogLinesOfEveryRefresh()
    {
        f->StoreNumbered(2);
        f->ShowFirstTime();
        const int lists = CountLogLines("UpdateListData");
        const int shows = CountLogLines("UpdateShowList");
        f->Store({TestDevice(9, "10.0.0.9")});
        QTest::mouseClick(f->Page().RefreshButton(), Qt::LeftButton);
        QCOMPARE(f->Grid().Model()->RowCount(), 3);
        QCOMPARE(CountLogLines("UpdateListData"), lists + 1);
        QCOMPARE(CountLogLines("UpdateShowList"), shows + 1);
    }

    void aRefreshWaitsForAnEditInProgress()
    {
        f->StoreNumbered(2);
        f->ShowFirstTime();
        f->Store({TestDevice(9, "10.0.0.9")});
        f->Grid().setFocus();
        f->Grid().edit(f->Grid().model()->index(0, kStatusColumnLocation));
        QVERIFY(f->Grid().IsEditing());
        QVERIFY(f->ContainerTimer(1000)->Fire());
        QVERIFY(f->Grid().IsEditing());
        QCOMPARE(f->Grid().Model()->RowCount(), 2); // not rebuilt under the editor

        QTest::keyClick(f->Grid().findChild<QLineEdit*>("gridCellEditor"), Qt::Key_Escape);
        QTRY_COMPARE(f->Grid().Model()->RowCount(), 3);
        QVERIFY(!f->Grid().IsEditing());
    }
};

QTEST_MAIN(ListPageTest)
#include "list_page_test.moc"
