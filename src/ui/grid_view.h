// The device-list grid: one fixed header row over a model of rows (CGridModel), drawn by
// CGridDelegate, with header-click, tick and cell-click signals for the page to act on.
#pragma once

#include <vector>

#include <QTableView>

#include "ui/grid_model.h"

class CGridHeader;

class CGridView : public QTableView
{
    Q_OBJECT

public:
    explicit CGridView(QWidget* parent = nullptr);

    CGridModel* Model() const { return m_model; }
    CGridHeader* Header() const { return m_header; }

    // Sets the model's columns and the column widths.
    void SetColumns(std::vector<GridColumn> columns);
    void SetSortMark(int column, bool ascending);
    // An in-place edit is open.
    bool IsEditing() const { return state() == QAbstractItemView::EditingState; }

signals:
    // A click on the header of a text or picture column.
    void HeaderClicked(int column);
    // A click on the header's tick box; the rows are already ticked or unticked.
    void HeaderTickClicked();
    // A click on a cell; on a tick cell the tick has already been toggled.
    void CellClicked(int row, int column);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnHeaderSection(int column);
    void OnCellClicked(const QModelIndex& index);
    bool IsTickColumn(int column) const;

    CGridModel* m_model = nullptr;
    CGridHeader* m_header = nullptr;
};
