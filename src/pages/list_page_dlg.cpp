#include "pages/list_page_dlg.h"

#include <utility>

#include <QAbstractItemDelegate>
#include <QComboBox>
#include <QEvent>
#include <QSignalBlocker>

#include "app/application_app.h"
#include "pages/page_host.h"
#include "pages/pager.h"
#include "store/sql_management.h"
#include "support/log.h"
#include "ui/edit_field.h"
#include "ui/format_text.h"
#include "ui/grid_view.h"
#include "ui/picture_button.h"
#include "ui/picture_view.h"
#include "ui/skin_look.h"
#include "ui/static_text.h"
#include "ui/text_bridge.h"
#include "ui/translate_window.h"

namespace
{

QRect Units(int x, int y, int width, int height)
{
    return {FromDialogUnits(x), FromDialogUnits(y), FromDialogUnits(width), FromDialogUnits(height)};
}

} // namespace

CListPageDlg::CListPageDlg(int pageId, ListPageSpec spec, QWidget* parent)
    : CPageDlg(pageId, parent), m_spec(std::move(spec)), m_sortColumn(m_spec.initialSortColumn)
{
    const CSettings& look = CApplicationApp::Instance().Settings();

    m_searchBox = new CEditField(this);
    m_searchBox->setObjectName("searchBox");
    m_searchBox->SetFramePictures("btn_pie.bmp", "btn_pie2.bmp");
    m_searchBox->setGeometry(Units(509, 8, 96, 14));
    m_searchBox->setClearButtonEnabled(true);

    m_grid = new CGridView(this);
    m_grid->setObjectName("deviceGrid");
    m_grid->setGeometry(Units(7, 25, 598, 309));

    auto* separator = new CPictureView(this);
    separator->setObjectName("separatorLine");
    separator->SetStretch(true);
    separator->SetFallbackColor(ToQColor(look.LineColor));
    separator->LoadSkinPicture("line.bmp");
    separator->setGeometry(FromDialogUnits(6), FromDialogUnits(338), FromDialogUnits(599), 1);

    auto* pageSizeLabel = new CStaticText("Each page number", this);
    pageSizeLabel->setObjectName("pageSizeLabel");
    pageSizeLabel->setGeometry(Units(6, 344, 40, 14));

    m_pageSize = new QComboBox(this);
    m_pageSize->setObjectName("pageSizeCombo");
    m_pageSize->setProperty(kNoTranslateProperty, true);
    m_pageSize->setFont(StaticFont());
    for (int size : kPageSizes)
        m_pageSize->addItem(QString::number(size), size);
    m_pageSize->setCurrentIndex(m_pageSize->findData(kInitialPageSize));
    m_pageSize->setGeometry(Units(46, 343, 36, 15));

    m_refreshButton = new CPictureButton(this);
    m_refreshButton->setObjectName("refreshButton");
    m_refreshButton->setText(QString(QChar(0x21bb)));
    m_refreshButton->setProperty(kNoTranslateProperty, true);
    m_refreshButton->setGeometry(Units(86, 343, 15, 15));

    m_countLabel = new CStaticText(QString(), this, CStaticText::Style::Number);
    m_countLabel->setObjectName("onlineCountLabel");
    m_countLabel->setProperty(kNoTranslateProperty, true);
    m_countLabel->setGeometry(Units(106, 344, 150, 14));

    m_pager = new CPager(this);
    m_pager->setObjectName("pager");
    m_pager->setGeometry(Units(300, 342, 305, 17));

    // Only this page's own controls: the page translates itself once its controls exist.
    TranslateWindow(pageSizeLabel);
    m_refreshButton->setToolTip(LookupQText("Refresh"));
    m_grid->SetColumns(m_spec.columns);
    m_grid->viewport()->installEventFilter(this);
    m_countLabel->setText(FormatLookup("Online device count:%d", {QString::number(0)}));

    connect(m_searchBox, &QLineEdit::textChanged, this, &CListPageDlg::OnSearchEdited);
    connect(m_pageSize, &QComboBox::currentIndexChanged, this, &CListPageDlg::OnPageSizeChosen);
    connect(m_refreshButton, &QAbstractButton::clicked, this, &CListPageDlg::Refresh);
    connect(m_grid, &CGridView::HeaderClicked, this, &CListPageDlg::OnHeaderClicked);
    connect(m_grid, &CGridView::CellClicked, this, [this](int row, int column) { OnCellClicked(row, column); });
    connect(m_pager, &CPager::PageChosen, this, [this](int page) { NotifyPageChosen(PageId(), page); });
    // After the view has closed the editor, so that the refresh sees it closed.
    connect(m_grid->itemDelegate(), &QAbstractItemDelegate::closeEditor, this, &CListPageDlg::OnEditorClosed,
            Qt::QueuedConnection);
}

bool CListPageDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_grid->viewport() && event->type() == QEvent::Resize)
        FitColumns();
    return CPageDlg::eventFilter(watched, event);
}

void CListPageDlg::FitColumns()
{
    // The declared widths as shares of the grid's width: every column stays in view, with no
    // sideways scrolling, also when the vertical scroll bar comes and goes.
    int declared = 0;
    for (const GridColumn& column : m_spec.columns)
        declared += column.width;
    const int available = m_grid->viewport()->width();
    if (declared <= 0 || available <= 0)
        return;
    int used = 0;
    const int count = static_cast<int>(m_spec.columns.size());
    for (int i = 0; i < count; ++i)
    {
        const int width = i + 1 < count ? m_spec.columns[i].width * available / declared : available - used;
        m_grid->setColumnWidth(i, width);
        used += width;
    }
}

int CListPageDlg::PageSize() const
{
    const int size = m_pageSize->currentData().toInt();
    return size > 0 ? size : kInitialPageSize;
}

int CListPageDlg::SortCodeOf(int column) const
{
    const auto found = m_spec.sortCodes.find(column);
    return found == m_spec.sortCodes.end() ? m_spec.otherSortCode : found->second;
}

void CListPageDlg::Refresh()
{
    if (m_grid->IsEditing())
    {
        m_refreshWaiting = true;
        return;
    }
    m_refreshWaiting = false;
    UpdateListData(m_page, !m_direction, m_sortColumn, m_search);
}

void CListPageDlg::GoToPage(int pageNumber)
{
    UpdateListData(pageNumber, !m_direction, m_sortColumn, m_search);
}

void CListPageDlg::OnEditorClosed()
{
    if (m_refreshWaiting)
        Refresh();
}

void CListPageDlg::UpdateListData(int page, bool ascending, int sortColumn, const QString& search)
{
    LOG_INFO("UpdateListData");
    const int size = PageSize();
    const int sortCode = SortCodeOf(sortColumn);
    const std::string searchText = QStringToLocal(search);
    CSqlManagement* store = CApplicationApp::Instance().Store();

    std::vector<ap_info_stu> records;
    int pageCount = 0;
    int onlineCount = 0;
    page = std::max(1, page);
    bool queried = store != nullptr &&
                   store->QueryDevicePage(sortCode, records, pageCount, onlineCount, size, page, ascending, searchText);
    // Devices went away while a later page was shown: show the last page that still exists.
    if (queried && page > pageCount)
    {
        page = std::max(1, pageCount);
        if (pageCount > 0)
        {
            records.clear();
            onlineCount = 0;
            queried =
                store->QueryDevicePage(sortCode, records, pageCount, onlineCount, size, page, ascending, searchText);
        }
    }
    if (!queried)
    {
        records.clear();
        pageCount = 0;
        onlineCount = 0;
    }
    m_sortColumn = sortColumn;
    m_page = page;
    m_pageCount = pageCount;
    m_onlineCount = onlineCount;

    std::vector<ap_info_stu> trailing;
    const int missing = size - static_cast<int>(records.size());
    if (missing > 0 && (pageCount == page || pageCount == 0))
        trailing = TrailingRecords(missing, search);

    UpdateShowList(records, trailing);
    m_grid->SetSortMark(sortColumn, ascending);
    m_pager->SetPages(page, pageCount);
    m_countLabel->setText(FormatLookup("Online device count:%d", {QString::number(onlineCount)}));
}

void CListPageDlg::UpdateShowList(const std::vector<ap_info_stu>& records, const std::vector<ap_info_stu>& trailing)
{
    LOG_INFO("UpdateShowList");
    std::vector<GridRow> rows;
    rows.reserve(records.size() + trailing.size());
    const int first = PageSize() * (m_page - 1) + 1;
    for (const auto* list : {&records, &trailing})
        for (const ap_info_stu& record : *list)
        {
            GridRow row = MakeRow(record, first + static_cast<int>(rows.size()));
            row.value = int32_t{record.ap_status};
            rows.push_back(std::move(row));
        }
    m_grid->Model()->SetRows(std::move(rows));
}

std::vector<ap_info_stu> CListPageDlg::TrailingRecords(int /*missing*/, const QString& /*search*/)
{
    return {};
}

void CListPageDlg::SetSearchTextQuietly(const QString& text)
{
    m_search = text;
    const QSignalBlocker quiet(m_searchBox);
    m_searchBox->setText(text);
}

void CListPageDlg::OnHeaderClicked(int column)
{
    if (m_spec.sortCodes.count(column) == 0)
        return;
    UpdateListData(1, m_direction, column, m_search);
    m_direction = !m_direction;
}

void CListPageDlg::OnSearchEdited(const QString& text)
{
    m_search = text;
    UpdateListData(1, !m_direction, m_sortColumn, m_search);
}

void CListPageDlg::OnPageSizeChosen()
{
    UpdateListData(1, !m_direction, m_sortColumn, m_search);
}
