#include "skin_paint.h"

#include <cstdio>
#include <cstdlib>

#include <QPainterPath>

namespace skin
{

QString g_outputDirectory;

QImage Canvas(int width, int height, const QColor& fill)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

QFont Font(int pixelSize, bool bold)
{
    QFont font("DejaVu Sans");
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

void Begin(QPainter& painter, QImage& image)
{
    painter.begin(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
}

void Save(const QImage& image, const QString& name)
{
    const QString path = g_outputDirectory + "/" + name;
    const bool jpeg = name.endsWith(".jpg");
    // Windows bitmaps and JPEGs carry no transparency: flatten to 24-bit colour.
    const QImage flat = image.convertToFormat(QImage::Format_RGB888);
    const QImage& written = name.endsWith(".png") ? image : flat;
    if (!written.save(path, nullptr, jpeg ? 92 : -1))
    {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

void DrawMagnifier(QPainter& painter, QPointF centre, qreal side, const QColor& colour, qreal width)
{
    painter.save();
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    const qreal radius = side * 0.3;
    const QPointF lens = centre - QPointF(side * 0.1, side * 0.1);
    painter.drawEllipse(lens, radius, radius);
    painter.drawLine(lens + QPointF(radius * 0.72, radius * 0.72), centre + QPointF(side * 0.38, side * 0.38));
    painter.restore();
}

void DrawDevice(QPainter& painter, QRectF box)
{
    painter.save();
    QLinearGradient body(box.topLeft(), box.topRight());
    body.setColorAt(0, QColor(250, 250, 251));
    body.setColorAt(1, QColor(218, 221, 226));
    painter.setPen(QPen(kInk, 2));
    painter.setBrush(body);
    painter.drawRoundedRect(box, box.width() * 0.18, box.width() * 0.18);
    // Status lights near the foot.
    const qreal dot = box.width() * 0.08;
    for (int i = 0; i < 3; ++i)
    {
        painter.setPen(Qt::NoPen);
        painter.setBrush(i == 0 ? kGood : kMuted);
        painter.drawEllipse(QPointF(box.center().x() + (i - 1) * dot * 2.4, box.bottom() - box.height() * 0.12), dot,
                            dot);
    }
    painter.restore();
}

void DrawWaves(QPainter& painter, QPointF origin, qreal radius, const QColor& colour, qreal width, int count,
               qreal direction)
{
    painter.save();
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    for (int i = 1; i <= count; ++i)
    {
        const qreal r = radius * i / count;
        painter.drawArc(QRectF(origin.x() - r, origin.y() - r, 2 * r, 2 * r), int((direction - 45) * 16), 90 * 16);
    }
    painter.restore();
}

} // namespace skin
