#include "ui/picture_view.h"

#include <QFileInfo>
#include <QMovie>
#include <QPainter>

#include "app/application_app.h"

CPictureView::CPictureView(QWidget* parent) : QWidget(parent) {}

CPictureView::~CPictureView() = default;

bool CPictureView::LoadSkinPicture(std::string_view file)
{
    return LoadPicture(QString::fromStdString(CApplicationApp::Instance().SkinPath(file)));
}

bool CPictureView::LoadPicture(const QString& path)
{
    m_movie.reset();
    m_picture = QPixmap();
    if (QFileInfo::exists(path))
    {
        auto movie = std::make_unique<QMovie>(path);
        if (movie->isValid() && movie->frameCount() > 1)
        {
            m_movie = std::move(movie);
            connect(m_movie.get(), &QMovie::frameChanged, this, [this] { update(); });
            if (isVisible())
                m_movie->start();
        }
        else
            m_picture.load(path);
    }
    update();
    return HasPicture();
}

void CPictureView::SetPicture(const QPixmap& picture)
{
    m_movie.reset();
    m_picture = picture;
    update();
}

bool CPictureView::HasPicture() const
{
    return m_movie != nullptr || !m_picture.isNull();
}

void CPictureView::SetStretch(bool stretch)
{
    m_stretch = stretch;
    update();
}

void CPictureView::SetFallbackColor(const QColor& colour)
{
    m_fallback = colour;
    update();
}

QPixmap CPictureView::CurrentFrame() const
{
    return m_movie ? m_movie->currentPixmap() : m_picture;
}

void CPictureView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPixmap frame = CurrentFrame();
    if (frame.isNull())
    {
        if (m_fallback.isValid())
            painter.fillRect(rect(), m_fallback);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (m_stretch)
        painter.drawPixmap(rect(), frame);
    else
    {
        QRect target(QPoint(0, 0), frame.size().scaled(size(), Qt::KeepAspectRatio).boundedTo(frame.size()));
        target.moveCenter(rect().center());
        painter.drawPixmap(target, frame);
    }
}

void CPictureView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_movie)
        m_movie->start();
}

void CPictureView::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (m_movie)
        m_movie->stop();
}
