#include "ui/t_dialog.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "app/application_app.h"
#include "ui/skin_look.h"

CTDialog::CTDialog(QWidget* parent, Kind kind) : QDialog(parent)
{
    // QDialog makes every widget a window of its own unless told otherwise.
    if (kind == Kind::Child)
        setWindowFlags(Qt::Widget);
    m_borderColor = ToQColor(CApplicationApp::Instance().Settings().LineColor);
}

void CTDialog::SetBackgroundColor(const QColor& colour)
{
    m_backgroundColor = colour;
    update();
}

void CTDialog::SetBackgroundPicture(const QPixmap& picture)
{
    m_backgroundPicture = picture;
    update();
}

void CTDialog::SetBorder(bool on, const QColor& colour)
{
    m_border = on;
    if (colour.isValid())
        m_borderColor = colour;
    update();
}

void CTDialog::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    if (m_backgroundColor.isValid())
        painter.fillRect(rect(), m_backgroundColor);
    if (!m_backgroundPicture.isNull())
    {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(rect(), m_backgroundPicture);
    }
    if (m_border)
    {
        painter.setPen(m_borderColor);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void CTDialog::keyPressEvent(QKeyEvent* event)
{
    // The focused control has already seen the key; the dialog neither closes nor presses a default button.
    switch (event->key())
    {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->ignore();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void CTDialog::mousePressEvent(QMouseEvent* event)
{
    // The background takes the press: a click on a page does not reach the window below it.
    event->accept();
    if (!m_dragMove || event->button() != Qt::LeftButton)
        return;
    QWidget* top = window();
    if (QWindow* handle = top->windowHandle(); handle != nullptr && handle->startSystemMove())
        return;
    m_dragging = true;
    m_dragOffset = event->globalPosition().toPoint() - top->frameGeometry().topLeft();
}

void CTDialog::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    if (m_dragging && (event->buttons() & Qt::LeftButton))
        window()->move(event->globalPosition().toPoint() - m_dragOffset);
}

void CTDialog::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    m_dragging = false;
}
