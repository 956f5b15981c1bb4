#include "ui/grid_model.h"

#include <algorithm>
#include <utility>

#include "app/application_app.h"
#include "ui/skin_look.h"
#include "ui/text_bridge.h"

CGridModel::CGridModel(QObject* parent) : QAbstractTableModel(parent)
{
    m_defaultTextColor = ToQColor(CApplicationApp::Instance().Settings().GridTextColor);
}

void CGridModel::SetColumns(std::vector<GridColumn> columns)
{
    beginResetModel();
    m_columns = std::move(columns);
    m_headerTexts.clear();
    for (const GridColumn& column : m_columns)
        m_headerTexts << (column.headerKey.isEmpty() ? QString() : LookupQText(column.headerKey));
    endResetModel();
}

void CGridModel::SetRows(std::vector<GridRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_allTicked = false;
    endResetModel();
    emit headerDataChanged(Qt::Horizontal, 0, std::max(0, columnCount() - 1));
}

int CGridModel::AppendRow(GridRow row)
{
    const int at = RowCount();
    beginInsertRows(QModelIndex(), at, at);
    m_rows.push_back(std::move(row));
    endInsertRows();
    return at;
}

bool CGridModel::ValidCell(int row, int column) const
{
    return row >= 0 && row < RowCount() && column >= 0 && column < columnCount();
}

void CGridModel::RowChanged(int row)
{
    emit dataChanged(index(row, 0), index(row, std::max(0, columnCount() - 1)));
}

QString CGridModel::CellText(int row, int column) const
{
    if (!ValidCell(row, column))
        return {};
    const QStringList& texts = m_rows[row].texts;
    return column < texts.size() ? texts[column] : QString();
}

void CGridModel::SetCellText(int row, int column, const QString& text)
{
    if (!ValidCell(row, column))
        return;
    QStringList& texts = m_rows[row].texts;
    while (texts.size() <= column)
        texts << QString();
    texts[column] = text;
    emit dataChanged(index(row, column), index(row, column));
}

void CGridModel::SetCellPicture(int row, int column, const QPixmap& picture)
{
    if (!ValidCell(row, column))
        return;
    std::vector<QPixmap>& pictures = m_rows[row].pictures;
    if (pictures.size() <= static_cast<size_t>(column))
        pictures.resize(column + 1);
    pictures[column] = picture;
    emit dataChanged(index(row, column), index(row, column));
}

void CGridModel::SetRowTextColor(int row, const QColor& colour)
{
    if (!ValidCell(row, 0))
        return;
    m_rows[row].textColor = colour;
    RowChanged(row);
}

QColor CGridModel::RowTextColor(int row) const
{
    if (!ValidCell(row, 0))
        return {};
    return m_rows[row].textColor.isValid() ? m_rows[row].textColor : m_defaultTextColor;
}

qint64 CGridModel::RowValue(int row) const
{
    return row >= 0 && row < RowCount() ? m_rows[row].value : 0;
}

void CGridModel::SetRowValue(int row, qint64 value)
{
    if (row >= 0 && row < RowCount())
        m_rows[row].value = value;
}

bool CGridModel::IsTicked(int row) const
{
    return row >= 0 && row < RowCount() && m_rows[row].ticked;
}

void CGridModel::SetTicked(int row, bool ticked)
{
    if (row < 0 || row >= RowCount() || m_rows[row].ticked == ticked)
        return;
    m_rows[row].ticked = ticked;
    RowChanged(row);
}

void CGridModel::ToggleTick(int row)
{
    SetTicked(row, !IsTicked(row));
}

void CGridModel::ToggleAllTicks()
{
    m_allTicked = !m_allTicked;
    for (GridRow& row : m_rows)
        row.ticked = m_allTicked;
    if (!m_rows.empty())
        emit dataChanged(index(0, 0), index(RowCount() - 1, std::max(0, columnCount() - 1)));
    emit headerDataChanged(Qt::Horizontal, 0, std::max(0, columnCount() - 1));
}

std::vector<int> CGridModel::TickedRows() const
{
    std::vector<int> ticked;
    for (int row = 0; row < RowCount(); ++row)
        if (m_rows[row].ticked)
            ticked.push_back(row);
    return ticked;
}

int CGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : RowCount();
}

int CGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant CGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !ValidCell(index.row(), index.column()))
        return {};
    const GridRow& row = m_rows[index.row()];
    const GridColumn& column = m_columns[index.column()];
    switch (role)
    {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return column.kind == GridCellKind::Tick ? QVariant() : QVariant(CellText(index.row(), index.column()));
    case Qt::DecorationRole:
        if (static_cast<size_t>(index.column()) < row.pictures.size() && !row.pictures[index.column()].isNull())
            return row.pictures[index.column()];
        return {};
    case Qt::CheckStateRole:
        return column.kind == GridCellKind::Tick ? QVariant(row.ticked ? Qt::Checked : Qt::Unchecked) : QVariant();
    case Qt::ForegroundRole:
        return RowTextColor(index.row());
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case RowValueRole:
        return row.value;
    case CellKindRole:
        return static_cast<int>(column.kind);
    default:
        return {};
    }
}

bool CGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const QString oldText = CellText(index.row(), index.column());
    const QString newText = value.toString();
    SetCellText(index.row(), index.column(), newText);
    emit CellEdited(index.row(), index.column(), oldText, newText);
    return true;
}

QVariant CGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    switch (role)
    {
    case Qt::DisplayRole:
        return m_headerTexts[section];
    case Qt::CheckStateRole:
        if (m_columns[section].kind == GridCellKind::Tick)
            return m_allTicked ? Qt::Checked : Qt::Unchecked;
        return {};
    case CellKindRole:
        return static_cast<int>(m_columns[section].kind);
    default:
        return {};
    }
}

Qt::ItemFlags CGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const GridColumn& column = m_columns[index.column()];
    if (column.editable && column.kind == GridCellKind::Text &&
        (!m_editFilter || m_editFilter(index.row(), index.column())))
        result |= Qt::ItemIsEditable;
    return result;
}
