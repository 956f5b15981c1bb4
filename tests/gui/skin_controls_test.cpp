// The skinned toolkit: grid ticks, in-place editing, row colours and values, title tips, header
// clicks; the message box helper; keys in skinned dialogs; tab pages; picture buttons without
// pictures; formats from language files.
#include <QHelpEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QToolTip>
#include <QtTest>

#include "app/application_app.h"
#include "support/gui_test_support.h"
#include "support/test_program.h"
#include "ui/edit_field.h"
#include "ui/format_text.h"
#include "ui/grid_header.h"
#include "ui/grid_view.h"
#include "ui/message_box.h"
#include "ui/page_timer.h"
#include "ui/picture_button.h"
#include "ui/picture_view.h"
#include "ui/skin_look.h"
#include "ui/static_text.h"
#include "ui/t_dialog.h"
#include "ui/tab_pages.h"

namespace
{

constexpr int kPendingValue = 10;

// A grid like a device list: tick column, an editable name, a long text, a picture column.
std::unique_ptr<CGridView> MakeGrid()
{
    auto grid = std::make_unique<CGridView>();
    grid->SetColumns({{"", 20, GridCellKind::Tick},
                      {"Serial", 40},
                      {"Location", 90, GridCellKind::Text, true},
                      {"Description", 60},
                      {"Operate", 70, GridCellKind::Picture}});
    std::vector<GridRow> rows;
    for (int i = 0; i < 3; ++i)
    {
        GridRow row;
        row.texts << QString() << QString::number(i + 1) << QString("name%1").arg(i)
                  << (i == 0 ? "A description far too long for its narrow column" : "short");
        row.value = i == 2 ? kPendingValue : 0;
        rows.push_back(row);
    }
    grid->Model()->SetRows(std::move(rows));
    grid->Model()->SetEditFilter([model = grid->Model()](int row, int)
                                 { return model->RowValue(row) != kPendingValue; });
    grid->resize(400, 300);
    return grid;
}

QPoint CellCentre(CGridView* grid, int row, int column)
{
    return grid->visualRect(grid->Model()->index(row, column)).center();
}

// Through the window, so that the view sees the press that comes before a double click.
void DoubleClickCell(CGridView* grid, int row, int column)
{
    const QPoint at = grid->viewport()->mapTo(grid->window(), CellCentre(grid, row, column));
    QTest::mouseDClick(grid->window()->windowHandle(), Qt::LeftButton, {}, at);
}

QPoint HeaderCentre(CGridView* grid, int column)
{
    QHeaderView* header = grid->horizontalHeader();
    return QPoint(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
}

} // namespace

class SkinControlsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CTestProgram> m_program;

private slots:
    void initTestCase() { m_program = std::make_unique<CTestProgram>(); }

    void tickCellsAndTheHeaderSelectAll()
    {
        auto grid = MakeGrid();
        grid->show();
        CGridModel* model = grid->Model();
        QSignalSpy cells(grid.get(), &CGridView::CellClicked);
        QSignalSpy headerTicks(grid.get(), &CGridView::HeaderTickClicked);

        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(grid.get(), 1, 0));
        QCOMPARE(model->TickedRows(), std::vector<int>{1});
        QCOMPARE(cells.size(), 1);
        QCOMPARE(cells.at(0), QVariantList({1, 0}));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(grid.get(), 1, 1));
        QCOMPARE(model->TickedRows(), std::vector<int>{1}); // other cells do not tick

        // The header box follows its own flag, not the rows: one row ticked still ticks all first.
        QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {}, HeaderCentre(grid.get(), 0));
        QCOMPARE(model->TickedRows(), std::vector<int>({0, 1, 2}));
        QVERIFY(model->AllTicked());
        QCOMPARE(model->headerData(0, Qt::Horizontal, Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {}, HeaderCentre(grid.get(), 0));
        QVERIFY(model->TickedRows().empty());
        QCOMPARE(headerTicks.size(), 2);

        // A refresh clears every tick and the flag.
        QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {}, HeaderCentre(grid.get(), 0));
        model->SetRows({GridRow{{"", "1"}}});
        QVERIFY(model->TickedRows().empty());
        QVERIFY(!model->AllTicked());
    }

    void headerClicksOnOtherColumnsAndTheSortMark()
    {
        auto grid = MakeGrid();
        grid->show();
        QSignalSpy clicks(grid.get(), &CGridView::HeaderClicked);
        QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {}, HeaderCentre(grid.get(), 1));
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(clicks.at(0).at(0).toInt(), 1);
        QVERIFY(grid->Model()->TickedRows().empty());
        grid->SetSortMark(3, false);
        QCOMPARE(grid->Header()->SortColumn(), 3);
        QVERIFY(!grid->Header()->SortAscending());
        QCOMPARE(grid->Model()->headerData(2, Qt::Horizontal).toString(), QString("Location"));
    }

    void inPlaceEditingOnlyWhereThePageAllowsIt()
    {
        auto grid = MakeGrid();
        grid->show();
        CGridModel* model = grid->Model();
        QVERIFY(model->flags(model->index(0, 2)) & Qt::ItemIsEditable);
        QVERIFY(!(model->flags(model->index(2, 2)) & Qt::ItemIsEditable)); // filtered out
        QVERIFY(!(model->flags(model->index(0, 1)) & Qt::ItemIsEditable)); // column not editable

        QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
        QSignalSpy edited(model, &CGridModel::CellEdited);
        DoubleClickCell(grid.get(), 0, 2);
        QVERIFY(grid->IsEditing());
        auto* editor = grid->findChild<QLineEdit*>("gridCellEditor");
        QVERIFY(editor != nullptr);
        QCOMPARE(editor->text(), QString("name0"));
        editor->setText(QString::fromUtf8("屋顶 west"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(edited.size(), 1); // the delegate commits on a queued call
        QVERIFY(!grid->IsEditing());
        QCOMPARE(edited.at(0), QVariantList({0, 2, "name0", QString::fromUtf8("屋顶 west")}));
        QCOMPARE(model->CellText(0, 2), QString::fromUtf8("屋顶 west"));

        // The page puts the old text back, as it does for a refused name.
        model->SetCellText(0, 2, "name0");
        QCOMPARE(model->CellText(0, 2), QString("name0"));
        QCOMPARE(edited.size(), 1);

        DoubleClickCell(grid.get(), 2, 2);
        QVERIFY(!grid->IsEditing());
        QVERIFY(!model->setData(model->index(2, 2), "x"));
    }

    void rowColoursValuesAndPictures()
    {
        auto grid = MakeGrid();
        CGridModel* model = grid->Model();
        const CSettings& look = CApplicationApp::Instance().Settings();
        QCOMPARE(model->data(model->index(0, 3), Qt::ForegroundRole).value<QColor>(), ToQColor(look.GridTextColor));
        model->SetRowTextColor(2, ToQColor(look.TextUnlineColor));
        for (int column = 0; column < model->columnCount(); ++column)
            QCOMPARE(model->data(model->index(2, column), Qt::ForegroundRole).value<QColor>(),
                     ToQColor(look.TextUnlineColor));
        QCOMPARE(model->data(model->index(2, 1), CGridModel::RowValueRole).toLongLong(), qint64(kPendingValue));
        QCOMPARE(model->data(model->index(0, 1), Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));

        QPixmap picture(50, 16);
        picture.fill(Qt::red);
        model->SetCellPicture(0, 4, picture);
        QCOMPARE(model->data(model->index(0, 4), Qt::DecorationRole).value<QPixmap>().size(), QSize(50, 16));
        QVERIFY(!model->data(model->index(1, 4), Qt::DecorationRole).isValid());
    }

    void clippedTextShowsItsFullTextAsATip()
    {
        auto grid = MakeGrid();
        grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
        const auto tipAt = [&](int row, int column)
        {
            QToolTip::hideText();
            const QPoint at = CellCentre(grid.get(), row, column);
            QHelpEvent help(QEvent::ToolTip, at, grid->viewport()->mapToGlobal(at));
            QCoreApplication::sendEvent(grid->viewport(), &help);
            return QToolTip::isVisible() ? QToolTip::text() : QString();
        };
        QCOMPARE(tipAt(1, 3), QString());
        QCOMPARE(tipAt(0, 3), QString("A description far too long for its narrow column"));
    }

    void gridScreenshot()
    {
        auto grid = MakeGrid();
        CGridModel* model = grid->Model();
        model->SetCellText(1, 2, QString::fromUtf8("北区屋顶 3"));
        model->SetTicked(0, true);
        model->SetRowTextColor(2, ToQColor(CApplicationApp::Instance().Settings().TextUnlineColor));
        model->SetCellPicture(1, 4, SkinStripImage("web_other.bmp", 0, 50, 16));
        grid->SetSortMark(1, true);
        grid->resize(420, 200);
        grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
        QVERIFY(!model->data(model->index(1, 4), Qt::DecorationRole).value<QPixmap>().isNull());
        SaveScreenshot(grid.get(), "grid");
    }

    void controlsScreenshot()
    {
        CTDialog dialog(nullptr, CTDialog::Kind::Child);
        dialog.SetBackgroundColor(Qt::white);
        dialog.resize(FromDialogUnits(300), FromDialogUnits(120));
        int left = FromDialogUnits(7);
        for (const char* label : {"Search", "Set IP", "Set Bridge", "Slotra"})
        {
            auto* button = new CPictureButton(&dialog);
            button->setText(label);
            button->setGeometry(left, FromDialogUnits(5), FromDialogUnits(40), FromDialogUnits(18));
            left += FromDialogUnits(42);
        }
        auto* search = new CEditField(&dialog);
        search->SetFramePictures("btn_pie.bmp", "btn_pie2.bmp");
        search->setGeometry(FromDialogUnits(190), FromDialogUnits(7), FromDialogUnits(74), FromDialogUnits(14));
        search->setText("10.77");
        auto* animation = new CPictureView(&dialog);
        QVERIFY(animation->LoadSkinPicture("wait_search.gif"));
        QVERIFY(animation->IsAnimated());
        animation->setGeometry(FromDialogUnits(270), FromDialogUnits(7), FromDialogUnits(16), FromDialogUnits(15));
        auto* tabs = new CTabPages(QSize(FromDialogUnits(66), FromDialogUnits(23)), "wireless_basic.bmp",
                                   "wireless_config.bmp", &dialog);
        for (const char* key : {"WirelessSet", "IPSET", "VLAN", "TimeReboot"})
            tabs->AddTab(key, new CStaticText(QString("Page ") + key));
        tabs->SetTabEnabled(2, false);
        tabs->setGeometry(FromDialogUnits(7), FromDialogUnits(30), FromDialogUnits(286), FromDialogUnits(50));
        int top = FromDialogUnits(85);
        for (auto style : {CStaticText::Style::Normal, CStaticText::Style::Number, CStaticText::Style::Expert})
        {
            auto* text = new CStaticText("Online device count:12", &dialog, style);
            text->setGeometry(FromDialogUnits(7), top, FromDialogUnits(150), FromDialogUnits(10));
            top += FromDialogUnits(11);
        }
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        SaveScreenshot(&dialog, "controls");
    }

    void hundredsOfRowsAreOneReset()
    {
        auto grid = MakeGrid();
        QSignalSpy resets(grid->Model(), &QAbstractItemModel::modelReset);
        std::vector<GridRow> rows(500, GridRow{{"", "1", "name", "text"}});
        grid->Model()->SetRows(std::move(rows));
        QCOMPARE(resets.size(), 1);
        QCOMPARE(grid->Model()->rowCount(), 500);
    }

    void messageBoxesKeepTheirKinds()
    {
        CMessageBox::ClearShownBoxes();
        CMessageBox::SetNextAnswer(QMessageBox::Cancel);
        QVERIFY(!CMessageBox::Confirm(nullptr, "Reboot?"));
        CMessageBox::SetNextAnswer(QMessageBox::Ok);
        QVERIFY(CMessageBox::Confirm(nullptr, "Reboot?"));
        CMessageBox::SetNextAnswer(QMessageBox::Ok);
        CMessageBox::Plain(nullptr, "Done");
        CMessageBox::SetNextAnswer(QMessageBox::Ok);
        CMessageBox::Warning(nullptr, "Wrong");
        const std::vector<CMessageBox::Shown>& shown = CMessageBox::ShownBoxes();
        QCOMPARE(shown.size(), size_t(4));
        QCOMPARE(shown[0].kind, CMessageBox::Kind::Confirmation);
        QCOMPARE(shown[2].kind, CMessageBox::Kind::Plain);
        QCOMPARE(shown[2].title, QString("Fieldmate"));
        QCOMPARE(shown[3].kind, CMessageBox::Kind::Warning);
        QVERIFY(shown[3].title.isEmpty());
        QCOMPARE(shown[3].text, QString("Wrong"));
    }

    void enterAndEscapeDoNotCloseASkinnedDialog()
    {
        CTDialog dialog;
        auto* edit = new QLineEdit(&dialog);
        auto* button = new CPictureButton(&dialog);
        button->setText("OK");
        connect(button, &CPictureButton::clicked, &dialog, &QDialog::accept);
        bool openAfterKeys = false;
        QTimer::singleShot(0, this,
                           [&]
                           {
                               edit->setFocus();
                               for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter})
                               {
                                   QTest::keyClick(edit, key);
                                   QTest::keyClick(&dialog, key);
                               }
                               openAfterKeys = dialog.isVisible();
                               QTest::mouseClick(button, Qt::LeftButton);
                           });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QVERIFY(openAfterKeys);
    }

    void tabPagesKeepTheirInput()
    {
        CTabPages tabs(QSize(99, 35), "wireless_basic.bmp", "wireless_config.bmp");
        auto* first = new QLineEdit;
        tabs.AddTab("WirelessSet", first);
        tabs.AddTab("IPSET", new QWidget);
        tabs.AddTab("VLAN", new QWidget);
        tabs.resize(400, 300);
        tabs.show();
        QCOMPARE(tabs.CurrentTab(), 0);
        QVERIFY(tabs.TabButton(0)->IsSelected());
        first->setText("kept");
        QTest::mouseClick(tabs.TabButton(1), Qt::LeftButton);
        QCOMPARE(tabs.CurrentTab(), 1);
        QVERIFY(!tabs.TabButton(0)->IsSelected());
        QVERIFY(tabs.TabButton(1)->IsSelected());
        QVERIFY(!first->isVisible());
        tabs.SetTabEnabled(2, false);
        QTest::mouseClick(tabs.TabButton(2), Qt::LeftButton);
        QCOMPARE(tabs.CurrentTab(), 1);
        QTest::mouseClick(tabs.TabButton(0), Qt::LeftButton);
        QCOMPARE(first->text(), QString("kept"));
    }

    void pictureButtonWorksWithoutItsPictures()
    {
        CPictureButton button;
        button.SetPictureFiles("no_such_picture.bmp", "no_such_down.bmp");
        QVERIFY(button.NormalPicture().isNull());
        button.setText("Search");
        button.resize(button.sizeHint());
        QVERIFY(button.width() > 0);
        QSignalSpy clicked(&button, &CPictureButton::clicked);
        button.show();
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(clicked.size(), 1);
        button.SetSelected(true);
        QVERIFY(!button.grab().isNull());
    }

    void scaledTimersNeverFireEarly()
    {
        // A scale that would overflow a period must give the longest period, not an immediate tick.
        CPageTimer timer(1000, this);
        QSignalSpy ticks(&timer, &CPageTimer::Timeout);
        CPageTimer::SetPeriodScale(1e6);
        timer.Start(30000);
        QTest::qWait(50);
        CPageTimer::SetPeriodScale(1.0);
        QVERIFY(timer.IsActive());
        QCOMPARE(ticks.count(), 0);
    }

    void formatsFromLanguageFiles_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");
        QTest::newRow("count") << "Adapter count:%d" << QStringList{"3"} << "Adapter count:3";
        QTest::newRow("in order") << "%s--%s" << QStringList{"a", "b"} << "a--b";
        QTest::newRow("long and percent") << "%lu%% of %u" << QStringList{"5", "9"} << "5% of 9";
        QTest::newRow("more conversions than arguments") << "%d and %s" << QStringList{"1"} << "1 and %s";
        QTest::newRow("unknown conversion stays") << "%x %d" << QStringList{"7"} << "%x 7";
        QTest::newRow("trailing percent") << "100%" << QStringList{} << "100%";
    }

    void formatsFromLanguageFiles()
    {
        QFETCH(QString, format);
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        QString result;
        switch (arguments.size())
        {
        case 0:
            result = FormatText(format, {});
            break;
        case 1:
            result = FormatText(format, {arguments[0]});
            break;
        default:
            result = FormatText(format, {arguments[0], arguments[1]});
        }
        QCOMPARE(result, expected);
    }
};

QTEST_MAIN(SkinControlsTest)
#include "skin_controls_test.moc"
