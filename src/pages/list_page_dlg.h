// The list mechanics that the device list pages share: the grid of one page of stored devices, the
// search box, the page-size list, the pager, the online count, the small refresh button, sorting by
// a header click and the tick column. A page declares only what is its own: its columns, which
// sort code each column sorts by, the column it sorts by at first, and how a record becomes a row.
#pragma once

#include <map>
#include <string>
#include <vector>

#include <QString>

#include "link/config_info.h"
#include "pages/page_dlg.h"
#include "ui/grid_model.h"

class CEditField;
class CGridView;
class CPager;
class CPictureButton;
class CPictureView;
class CStaticText;
class QComboBox;

struct ListPageSpec
{
    std::vector<GridColumn> columns;
    // Grid column to the store's sort code. A header click sorts only these columns.
    std::map<int, int> sortCodes;
    // The sort code of every other column.
    int otherSortCode = 1;
    int initialSortColumn = 0;
};

class CListPageDlg : public CPageDlg
{
    Q_OBJECT

public:
    // The items of the page-size list; the second is chosen at start.
    static constexpr int kPageSizes[] = {15, 30, 50, 100};
    static constexpr int kInitialPageSize = 30;

    // The page calls TranslateWindow on itself once it has made its own controls.
    CListPageDlg(int pageId, ListPageSpec spec, QWidget* parent);

    bool HasRefresh() const override { return true; }
    // The stored page, sort column, direction and search text again. While a cell is being edited
    // the refresh waits for the edit to end, so that the edit is not lost.
    void Refresh() override;
    void GoToPage(int pageNumber) override;

    // Queries the store for the page and fills the grid, the pager and the count. A page number
    // above the page count shows the last page (page 1 when there is none).
    void UpdateListData(int page, bool ascending, int sortColumn, const QString& search);
    // Rebuilds the rows: the stored records, then the trailing ones, numbered on across pages.
    void UpdateShowList(const std::vector<ap_info_stu>& records, const std::vector<ap_info_stu>& trailing);

    int PageNumber() const { return m_page; }
    int PageCount() const { return m_pageCount; }
    int OnlineCount() const { return m_onlineCount; }
    int SortColumn() const { return m_sortColumn; }
    // Queries sort ascending when this is clear; a header click inverts it.
    bool DirectionFlag() const { return m_direction; }
    const QString& SearchText() const { return m_search; }
    int PageSize() const;
    int SortCodeOf(int column) const;

    CGridView* Grid() const { return m_grid; }
    CEditField* SearchBox() const { return m_searchBox; }
    QComboBox* PageSizeCombo() const { return m_pageSize; }
    CPager* Pager() const { return m_pager; }
    CStaticText* CountLabel() const { return m_countLabel; }
    CPictureButton* RefreshButton() const { return m_refreshButton; }

protected:
    // The cells of a record's row (texts, pictures, colour); serial is its number across pages. The
    // row's hidden value is set to the record's status afterwards.
    virtual GridRow MakeRow(const ap_info_stu& record, int serial) const = 0;
    // Records shown after the stored ones when the last page has room for missing more (the status
    // page's pending devices); none by default.
    virtual std::vector<ap_info_stu> TrailingRecords(int missing, const QString& search);
    // A click on a cell of a row (a tick cell is already toggled).
    virtual void OnCellClicked(int /*row*/, int /*column*/) {}

    // The page's search text, without a query (a search that empties the box).
    void SetSearchTextQuietly(const QString& text);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FitColumns();
    void OnHeaderClicked(int column);
    void OnSearchEdited(const QString& text);
    void OnPageSizeChosen();
    void OnEditorClosed();

    ListPageSpec m_spec;
    CGridView* m_grid = nullptr;
    CEditField* m_searchBox = nullptr;
    QComboBox* m_pageSize = nullptr;
    CPager* m_pager = nullptr;
    CStaticText* m_countLabel = nullptr;
    CPictureButton* m_refreshButton = nullptr;

    QString m_search;
    int m_page = 1;
    int m_sortColumn;
    bool m_direction = true;
    int m_pageCount = 0;
    int m_onlineCount = 0;
    bool m_refreshWaiting = false;
};
