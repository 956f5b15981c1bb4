// Pictures of the device lists: the web and bridge image strips, signal bars, the search
// animation's frames and the bridge wizard's finish picture.
#include <cmath>

#include <QPainterPath>

#include "skin_paint.h"

namespace skin
{
namespace
{

constexpr int kStripWidth = 50;
constexpr int kStripHeight = 16;
// Nearly white: pure white is the strips' transparent colour.
const QColor kOffWhite(254, 254, 254);

void DrawGlobe(QPainter& painter, QPointF centre, qreal radius, const QColor& colour)
{
    painter.save();
    painter.setPen(QPen(colour, 1.1));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, radius, radius);
    painter.drawEllipse(centre, radius * 0.45, radius);
    painter.drawLine(centre - QPointF(radius, 0), centre + QPointF(radius, 0));
    painter.restore();
}

// Image 0: the link as it normally shows; image 1: the same, filled (for a pressed look).
void Strip(const QString& name, const QString& label, bool globe)
{
    QImage image = Canvas(kStripWidth * 2, kStripHeight, Qt::white);
    QPainter painter;
    Begin(painter, image);
    for (int i = 0; i < 2; ++i)
    {
        const bool filled = i == 1;
        const QRectF pill(i * kStripWidth + 1.5, 1.5, kStripWidth - 3, kStripHeight - 3);
        painter.setPen(QPen(kInk, 1));
        painter.setBrush(filled ? kInk : kSoft);
        painter.drawRoundedRect(pill, 6, 6);
        QRectF text = pill;
        const QColor ink = filled ? kOffWhite : kInk;
        if (globe)
        {
            DrawGlobe(painter, QPointF(pill.left() + 8.5, pill.center().y()), 4.6, ink);
            text.setLeft(pill.left() + 13);
        }
        painter.setPen(ink);
        painter.setFont(Font(label.at(0).unicode() > 0x2e80 ? 11 : 10, true));
        painter.drawText(text, Qt::AlignCenter, label);
    }
    painter.end();
    Save(image, name);
}

void SignalBars()
{
    const QColor fills[] = {kSoft, kAccent, QColor(230, 140, 0), QColor(230, 140, 0), kGood, kGood};
    for (int level = 0; level <= 5; ++level)
    {
        QImage image = Canvas(30, 16, Qt::white);
        QPainter painter;
        Begin(painter, image);
        painter.setPen(Qt::NoPen);
        for (int bar = 0; bar < 5; ++bar)
        {
            const qreal height = 4 + bar * 2.75;
            painter.setBrush(bar < level ? fills[level] : QColor(214, 217, 222));
            painter.drawRoundedRect(QRectF(1 + bar * 6, 15 - height, 4, height), 1, 1);
        }
        painter.end();
        Save(image, QString("singal_strength%1.bmp").arg(level));
    }
}

void SearchAnimationFrames()
{
    constexpr int kFrames = 12;
    for (int frame = 0; frame < kFrames; ++frame)
    {
        QImage image = Canvas(24, 22, Qt::white);
        QPainter painter;
        Begin(painter, image);
        painter.setPen(Qt::NoPen);
        for (int dot = 0; dot < kFrames; ++dot)
        {
            const int age = (frame - dot + kFrames) % kFrames;
            const double angle = 2 * M_PI * dot / kFrames;
            QColor colour = age == 0 ? kAccent : kInk;
            colour.setAlphaF(age == 0 ? 1.0 : std::max(0.12, 0.75 - age * 0.09));
            painter.setBrush(colour);
            painter.drawEllipse(QPointF(12 + 8 * std::sin(angle), 11 - 8 * std::cos(angle)), 1.9, 1.9);
        }
        painter.end();
        Save(image, QString("wait_frame_%1.png").arg(frame, 2, 10, QChar('0')));
    }
}

void FinishPicture()
{
    QImage image = Canvas(360, 220, Qt::white);
    QPainter painter;
    Begin(painter, image);
    // Two masts with a device each, and the link between them.
    for (const qreal x : {70.0, 290.0})
    {
        painter.fillRect(QRectF(x - 3, 95, 6, 115), QColor(150, 155, 162));
        DrawDevice(painter, QRectF(x - 14, 70, 28, 52));
    }
    QPainterPath beam;
    beam.moveTo(86, 90);
    beam.cubicTo(150, 55, 210, 55, 274, 90);
    painter.setPen(QPen(kGood, 3, Qt::DashLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(beam);
    DrawWaves(painter, QPointF(88, 88), 22, kGood, 2.2, 2, 20);
    DrawWaves(painter, QPointF(272, 88), 22, kGood, 2.2, 2, 160);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kGood);
    painter.drawEllipse(QPointF(180, 40), 22, 22);
    painter.setPen(QPen(Qt::white, 4.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(QPolygonF({QPointF(170, 40), QPointF(177, 48), QPointF(191, 32)}));
    painter.fillRect(QRectF(20, 208, 320, 2), kSoft);
    painter.end();
    Save(image, "bridge_finish.jpg");
}

} // namespace

void MakeListPictures()
{
    Strip("web_other.bmp", "Web", true);
    Strip("web_chinese.bmp", QString::fromUtf8("网页"), true);
    Strip("bridge_other.bmp", "Bridge", false);
    Strip("bridge_chinese.bmp", QString::fromUtf8("桥接"), false);
    SignalBars();
    SearchAnimationFrames();
    FinishPicture();
}

} // namespace skin
