// The rows of a grid: one text per cell, tick boxes, pictures, a text colour and a hidden value
// per row. A refresh hands over all rows at once, which is one model reset.
#pragma once

#include <functional>
#include <vector>

#include <QAbstractTableModel>
#include <QColor>
#include <QPixmap>
#include <QStringList>

enum class GridCellKind
{
    Text,
    Tick,
    Picture,
};

struct GridColumn
{
    QString headerKey; // language key of the header text
    int width = 80;    // pixels of the layout; the view scales them
    GridCellKind kind = GridCellKind::Text;
    bool editable = false; // in-place editing, subject to the model's edit filter
};

struct GridRow
{
    QStringList texts;             // one per column; missing ones are empty
    std::vector<QPixmap> pictures; // by column; missing or null ones show nothing
    QColor textColor;              // invalid: the grid's text colour
    qint64 value = 0;              // hidden value the page decides clicks by
    bool ticked = false;
};

class CGridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Role
    {
        RowValueRole = Qt::UserRole + 1,
        CellKindRole,
    };

    explicit CGridModel(QObject* parent = nullptr);

    // The header texts are looked up in the language file here.
    void SetColumns(std::vector<GridColumn> columns);
    const std::vector<GridColumn>& Columns() const { return m_columns; }

    // Replaces every row; the header tick and the select-all flag are cleared.
    void SetRows(std::vector<GridRow> rows);
    void Clear() { SetRows({}); }
    int AppendRow(GridRow row);
    int RowCount() const { return static_cast<int>(m_rows.size()); }

    QString CellText(int row, int column) const;
    void SetCellText(int row, int column, const QString& text);
    void SetCellPicture(int row, int column, const QPixmap& picture);
    void SetRowTextColor(int row, const QColor& colour);
    QColor RowTextColor(int row) const;
    qint64 RowValue(int row) const;
    void SetRowValue(int row, qint64 value);

    bool IsTicked(int row) const;
    void SetTicked(int row, bool ticked);
    void ToggleTick(int row);
    // The header's tick box: ticks every row when the select-all flag is clear, else unticks them.
    void ToggleAllTicks();
    bool AllTicked() const { return m_allTicked; }
    std::vector<int> TickedRows() const;

    // Decides which cells of editable columns may be edited (for example not on pending rows).
    void SetEditFilter(std::function<bool(int row, int column)> filter) { m_editFilter = std::move(filter); }

    void SetDefaultTextColor(const QColor& colour) { m_defaultTextColor = colour; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // An in-place edit ended; the cell already holds newText, and the page may put oldText back.
    void CellEdited(int row, int column, const QString& oldText, const QString& newText);

private:
    bool ValidCell(int row, int column) const;
    void RowChanged(int row);

    std::vector<GridColumn> m_columns;
    QStringList m_headerTexts;
    std::vector<GridRow> m_rows;
    std::function<bool(int, int)> m_editFilter;
    QColor m_defaultTextColor;
    bool m_allTicked = false;
};
