#include "ui/grid_view.h"

#include <QKeyEvent>

#include "app/application_app.h"
#include "ui/grid_delegate.h"
#include "ui/grid_header.h"
#include "ui/skin_look.h"

CGridView::CGridView(QWidget* parent) : QTableView(parent)
{
    const CSettings& look = CApplicationApp::Instance().Settings();
    m_model = new CGridModel(this);
    m_header = new CGridHeader(this);
    setHorizontalHeader(m_header);
    setModel(m_model);
    setItemDelegate(new CGridDelegate(this));
    setFont(GridFont());

    const int rowHeight = FromLayoutPixels(look.GridRowHeight);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(rowHeight);
    m_header->setFixedHeight(std::max(rowHeight * 3 / 4, QFontMetrics(GridTitleFont()).height() + 10));
    m_header->setStretchLastSection(true);
    m_header->setSectionResizeMode(QHeaderView::Interactive);

    setShowGrid(false);
    setWordWrap(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Plain);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, ToQColor(look.ChildBkColor));
    colours.setColor(QPalette::WindowText, ToQColor(look.LineColor));
    setPalette(colours);

    connect(m_header, &QHeaderView::sectionClicked, this, &CGridView::OnHeaderSection);
    connect(this, &QAbstractItemView::clicked, this, &CGridView::OnCellClicked);
}

void CGridView::SetColumns(std::vector<GridColumn> columns)
{
    m_model->SetColumns(std::move(columns));
    const std::vector<GridColumn>& set = m_model->Columns();
    for (size_t i = 0; i < set.size(); ++i)
        setColumnWidth(static_cast<int>(i), FromLayoutPixels(set[i].width));
}

void CGridView::SetSortMark(int column, bool ascending)
{
    m_header->SetSortMark(column, ascending);
}

bool CGridView::IsTickColumn(int column) const
{
    const std::vector<GridColumn>& columns = m_model->Columns();
    return column >= 0 && column < static_cast<int>(columns.size()) && columns[column].kind == GridCellKind::Tick;
}

void CGridView::OnHeaderSection(int column)
{
    if (IsTickColumn(column))
    {
        m_model->ToggleAllTicks();
        emit HeaderTickClicked();
        return;
    }
    emit HeaderClicked(column);
}

void CGridView::OnCellClicked(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    if (IsTickColumn(index.column()))
        m_model->ToggleTick(index.row());
    emit CellClicked(index.row(), index.column());
}

void CGridView::keyPressEvent(QKeyEvent* event)
{
    // Space ticks the current row when the grid has a tick column, as a click on its box would.
    if (event->key() == Qt::Key_Space && state() != QAbstractItemView::EditingState && currentIndex().isValid())
    {
        const std::vector<GridColumn>& columns = m_model->Columns();
        for (size_t column = 0; column < columns.size(); ++column)
            if (columns[column].kind == GridCellKind::Tick)
            {
                m_model->ToggleTick(currentIndex().row());
                emit CellClicked(currentIndex().row(), static_cast<int>(column));
                event->accept();
                return;
            }
    }
    QTableView::keyPressEvent(event);
}
