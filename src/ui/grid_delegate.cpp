#include "ui/grid_delegate.h"

#include <algorithm>

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include "app/application_app.h"
#include "ui/grid_model.h"
#include "ui/skin_look.h"

namespace
{

constexpr int kTextPadding = 3;
constexpr int kTickBoxSize = 16;

} // namespace

CGridDelegate::CGridDelegate(QObject* parent) : QStyledItemDelegate(parent)
{
    const CSettings& look = CApplicationApp::Instance().Settings();
    m_lineColor = ToQColor(look.LineColor);
    m_selectionColor = ToQColor(look.LineColor);
    m_selectionColor.setAlpha(150);
    m_stripeColor = ToQColor(look.ChildBkColor).darker(102);
}

bool CGridDelegate::IsClipped(const QString& text, const QFont& font, int cellWidth)
{
    return QFontMetrics(font).horizontalAdvance(text) > cellWidth - 2 * kTextPadding;
}

void CGridDelegate::DrawTickBox(QPainter* painter, const QRect& cell, bool ticked, bool enabled)
{
    const CSettings& look = CApplicationApp::Instance().Settings();
    QColor accent = ToQColor(look.TextDownColor);
    QColor frame = ToQColor(look.LineColor).darker(140);
    if (!enabled)
    {
        accent.setAlpha(90);
        frame.setAlpha(90);
    }
    // Narrow tick columns get a smaller box rather than one cut by the cell's edges.
    const qreal side = std::max(8, std::min({kTickBoxSize, cell.width() - 4, cell.height() - 4}));
    QRectF box(0, 0, side, side);
    box.moveCenter(QRectF(cell).center());
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(ticked ? accent : frame, 1.2));
    painter->setBrush(ticked ? accent : QColor(Qt::white));
    painter->drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    if (ticked)
    {
        QPainterPath mark;
        mark.moveTo(box.left() + side * 0.22, box.center().y() + side * 0.03);
        mark.lineTo(box.left() + side * 0.42, box.bottom() - side * 0.25);
        mark.lineTo(box.right() - side * 0.2, box.top() + side * 0.26);
        painter->setPen(QPen(Qt::white, side / 8.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter->setBrush(Qt::NoBrush);
        painter->drawPath(mark);
    }
    painter->restore();
}

void CGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QRect cell = option.rect;
    const bool enabled = option.state & QStyle::State_Enabled;
    painter->save();
    if (option.state & QStyle::State_Selected)
        painter->fillRect(cell, m_selectionColor);
    else if (index.row() % 2 == 1)
        painter->fillRect(cell, m_stripeColor);
    painter->setPen(m_lineColor);
    painter->drawLine(cell.bottomLeft(), cell.bottomRight());
    painter->drawLine(cell.topRight(), cell.bottomRight());

    const auto kind = static_cast<GridCellKind>(index.data(CGridModel::CellKindRole).toInt());
    if (kind == GridCellKind::Tick)
        DrawTickBox(painter, cell, index.data(Qt::CheckStateRole).toInt() == Qt::Checked, enabled);

    const QVariant picture = index.data(Qt::DecorationRole);
    if (picture.canConvert<QPixmap>())
    {
        const QPixmap pixmap = picture.value<QPixmap>();
        QRect target(QPoint(0, 0), pixmap.size().boundedTo(cell.size()));
        target.moveCenter(cell.center());
        painter->drawPixmap(target, pixmap);
    }

    const QString text = index.data(Qt::DisplayRole).toString();
    if (!text.isEmpty())
    {
        QColor colour = index.data(Qt::ForegroundRole).value<QColor>();
        if (!enabled)
            colour.setAlpha(120);
        painter->setPen(colour);
        painter->setFont(option.font);
        const QRect area = cell.adjusted(kTextPadding, 0, -kTextPadding, 0);
        painter->drawText(area, Qt::AlignCenter | Qt::TextSingleLine,
                          painter->fontMetrics().elidedText(text, Qt::ElideRight, area.width()));
    }
    painter->restore();
}

QWidget* CGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex&) const
{
    auto* editor = new QLineEdit(parent);
    editor->setObjectName("gridCellEditor");
    editor->setFont(option.font);
    editor->setAlignment(Qt::AlignCenter);
    return editor;
}

bool CGridDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                              const QModelIndex& index)
{
    if (event == nullptr || view == nullptr || event->type() != QEvent::ToolTip)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QString text = index.data(Qt::DisplayRole).toString();
    if (!text.isEmpty() && IsClipped(text, option.font, option.rect.width()))
        QToolTip::showText(event->globalPos(), text, view->viewport(), option.rect);
    else
        QToolTip::hideText();
    return true;
}
