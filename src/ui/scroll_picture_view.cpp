#include "ui/scroll_picture_view.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QScrollBar>

#include "app/application_app.h"
#include "ui/skin_look.h"

CScrollPictureView::CScrollPictureView(QWidget* parent) : QScrollArea(parent)
{
    m_picture = new QLabel;
    m_picture->setObjectName("scrollPicture");
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->installEventFilter(this);
    setWidget(m_picture);
    setWidgetResizable(false);
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setFrameShape(QFrame::NoFrame);
    QPalette colours = viewport()->palette();
    colours.setColor(QPalette::Window, ToQColor(CApplicationApp::Instance().Settings().ChildBkColor));
    viewport()->setPalette(colours);
    viewport()->setAutoFillBackground(true);
}

bool CScrollPictureView::LoadPicture(const QString& path)
{
    QPixmap picture;
    if (!picture.load(path))
        picture = QPixmap();
    m_picture->setPixmap(picture);
    m_picture->resize(picture.isNull() ? QSize(0, 0) : picture.size());
    m_picture->setCursor(picture.isNull() ? Qt::ArrowCursor : Qt::OpenHandCursor);
    return !picture.isNull();
}

bool CScrollPictureView::HasPicture() const
{
    return !m_picture->pixmap().isNull();
}

bool CScrollPictureView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_picture)
        return QScrollArea::eventFilter(watched, event);
    switch (event->type())
    {
    case QEvent::MouseButtonPress:
    {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            break;
        m_dragging = true;
        m_dragStart = mouse->globalPosition().toPoint();
        m_scrollStart = QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
        m_picture->setCursor(Qt::ClosedHandCursor);
        return true;
    }
    case QEvent::MouseMove:
        if (m_dragging)
        {
            const QPoint moved = static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - m_dragStart;
            horizontalScrollBar()->setValue(m_scrollStart.x() - moved.x());
            verticalScrollBar()->setValue(m_scrollStart.y() - moved.y());
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        if (m_dragging)
        {
            m_dragging = false;
            m_picture->setCursor(Qt::OpenHandCursor);
            return true;
        }
        break;
    default:
        break;
    }
    return QScrollArea::eventFilter(watched, event);
}
