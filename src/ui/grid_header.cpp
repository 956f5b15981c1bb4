#include "ui/grid_header.h"

#include <QHelpEvent>
#include <QPainter>
#include <QPolygonF>
#include <QToolTip>

#include "app/application_app.h"
#include "ui/grid_delegate.h"
#include "ui/grid_model.h"
#include "ui/skin_look.h"

namespace
{

constexpr int kSortMarkWidth = 10;

} // namespace

CGridHeader::CGridHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
    const CSettings& look = CApplicationApp::Instance().Settings();
    m_background = ToQColor(look.GridTitleBkColor);
    m_text = ToQColor(look.GridTitleTextColor);
    m_line = ToQColor(look.LineColor);
    setFont(GridTitleFont());
    setSectionsClickable(true);
    setHighlightSections(false);
    setDefaultAlignment(Qt::AlignCenter);
}

void CGridHeader::SetSortMark(int column, bool ascending)
{
    m_sortColumn = column;
    m_ascending = ascending;
    viewport()->update();
}

void CGridHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    painter->save();
    painter->fillRect(rect, m_background);
    painter->setPen(m_background.darker(118));
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());

    QAbstractItemModel* source = model();
    const auto kind = source ? static_cast<GridCellKind>(
                                   source->headerData(logicalIndex, Qt::Horizontal, CGridModel::CellKindRole).toInt())
                             : GridCellKind::Text;
    if (kind == GridCellKind::Tick)
    {
        const bool ticked = source->headerData(logicalIndex, Qt::Horizontal, Qt::CheckStateRole).toInt() == Qt::Checked;
        CGridDelegate::DrawTickBox(painter, rect, ticked, isEnabled());
    }

    QRect area = rect.adjusted(2, 0, -2, 0);
    if (logicalIndex == m_sortColumn)
    {
        // The mark sits at the right edge; the text keeps the rest of the cell.
        const QRectF mark(area.right() - kSortMarkWidth + 3, rect.center().y() - 2.5, 7, 5);
        QPolygonF triangle;
        if (m_ascending)
            triangle << QPointF(mark.left(), mark.bottom()) << QPointF(mark.right(), mark.bottom())
                     << QPointF(mark.center().x(), mark.top());
        else
            triangle << QPointF(mark.left(), mark.top()) << QPointF(mark.right(), mark.top())
                     << QPointF(mark.center().x(), mark.bottom());
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(m_text);
        painter->drawPolygon(triangle);
        area.setRight(area.right() - kSortMarkWidth);
    }

    const QString text = source ? source->headerData(logicalIndex, Qt::Horizontal).toString() : QString();
    if (!text.isEmpty())
    {
        QColor colour = m_text;
        if (!isEnabled())
            colour.setAlpha(120);
        painter->setPen(colour);
        painter->setFont(font());
        painter->drawText(area, Qt::AlignCenter | Qt::TextSingleLine,
                          painter->fontMetrics().elidedText(text, Qt::ElideRight, area.width()));
    }
    painter->restore();
}

bool CGridHeader::viewportEvent(QEvent* event)
{
    if (event->type() != QEvent::ToolTip || model() == nullptr)
        return QHeaderView::viewportEvent(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const int section = logicalIndexAt(help->pos());
    const QString text = section >= 0 ? model()->headerData(section, Qt::Horizontal).toString() : QString();
    if (!text.isEmpty() && CGridDelegate::IsClipped(text, font(), sectionSize(section)))
        QToolTip::showText(help->globalPos(), text, viewport());
    else
        QToolTip::hideText();
    return true;
}
