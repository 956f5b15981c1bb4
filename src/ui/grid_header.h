// The grid's one fixed header row: the header colours and font of Setting.ini, the tick box of a
// tick column, the sort mark, and tips for header texts too wide for their column.
#pragma once

#include <QColor>
#include <QHeaderView>

class CGridHeader : public QHeaderView
{
    Q_OBJECT

public:
    explicit CGridHeader(QWidget* parent = nullptr);

    // column -1 removes the mark.
    void SetSortMark(int column, bool ascending);
    int SortColumn() const { return m_sortColumn; }
    bool SortAscending() const { return m_ascending; }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    bool viewportEvent(QEvent* event) override;

private:
    QColor m_background;
    QColor m_text;
    QColor m_line;
    int m_sortColumn = -1;
    bool m_ascending = true;
};
