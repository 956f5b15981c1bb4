#include "ui/picture_button.h"

#include <QEnterEvent>
#include <QFocusEvent>
#include <QPainter>

#include "app/application_app.h"
#include "ui/skin_look.h"

CPictureButton::CPictureButton(QWidget* parent, Role role) : QAbstractButton(parent)
{
    const CSettings& look = CApplicationApp::Instance().Settings();
    const bool menu = role == Role::MenuButton;
    setFont(menu ? MenuButtonFont() : ButtonFont());
    m_textColor = ToQColor(menu ? look.ButtonMenuFontColor : look.ButtonFontColor);
    m_downTextColor = ToQColor(look.TextDownColor);
    m_lineColor = ToQColor(look.LineColor);
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
}

void CPictureButton::SetPictures(const QPixmap& normal, const QPixmap& down)
{
    m_normal = normal;
    m_down = down;
    update();
}

void CPictureButton::SetPictureFiles(std::string_view normal, std::string_view down)
{
    SetPictures(normal.empty() ? QPixmap() : SkinPicture(normal), down.empty() ? QPixmap() : SkinPicture(down));
}

void CPictureButton::SetSelected(bool selected)
{
    if (m_selected == selected)
        return;
    m_selected = selected;
    update();
}

void CPictureButton::SetTextColor(const QColor& colour)
{
    m_textColor = colour;
    update();
}

QSize CPictureButton::sizeHint() const
{
    if (!m_normal.isNull())
        return m_normal.size();
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(text()) + 24, metrics.height() + 12};
}

void CPictureButton::enterEvent(QEnterEvent* event)
{
    m_hover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void CPictureButton::leaveEvent(QEvent* event)
{
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void CPictureButton::focusInEvent(QFocusEvent* event)
{
    m_keyboardFocus = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    QAbstractButton::focusInEvent(event);
}

void CPictureButton::focusOutEvent(QFocusEvent* event)
{
    m_keyboardFocus = false;
    QAbstractButton::focusOutEvent(event);
}

void CPictureButton::DrawPlainFrame(QPainter& painter, bool down) const
{
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QColor fill = down ? m_downTextColor.lighter(190) : QColor(Qt::white);
    if (down)
        fill.setAlpha(60);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(down ? m_downTextColor : m_lineColor.darker(115));
    painter.setBrush(fill);
    painter.drawRoundedRect(frame, 3, 3);
}

void CPictureButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool down = isDown() || m_selected || isChecked();
    const QPixmap& picture = down && !m_down.isNull() ? m_down : m_normal;
    if (picture.isNull())
        DrawPlainFrame(painter, down);
    else
    {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(rect(), picture);
    }
    if (m_hover && isEnabled() && !down)
        painter.fillRect(rect(), m_hoverTint);

    if (!text().isEmpty())
    {
        QColor colour = down ? m_downTextColor : m_textColor;
        if (!isEnabled())
            colour.setAlpha(110);
        painter.setPen(colour);
        painter.setFont(font());
        const QRect area = rect().adjusted(4, 0, -4, 0);
        painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine,
                         painter.fontMetrics().elidedText(text(), Qt::ElideRight, area.width()));
    }
    if (hasFocus() && m_keyboardFocus)
    {
        QPen pen(m_downTextColor, 1, Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(2, 2, -3, -3));
    }
}
