// Draws the grid's cells: centred one-line text cut with an ellipsis, tick boxes, pictures, the row
// colour, and the full text as a tip when a cell is too narrow for it.
#pragma once

#include <QColor>
#include <QStyledItemDelegate>

class CGridDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit CGridDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    // The text does not fit the cell's width (and so is shown cut, with its full text as a tip).
    static bool IsClipped(const QString& text, const QFont& font, int cellWidth);

    // The tick box as the grid and its header draw it.
    static void DrawTickBox(QPainter* painter, const QRect& cell, bool ticked, bool enabled);

private:
    QColor m_lineColor;
    QColor m_selectionColor;
    QColor m_stripeColor;
};
