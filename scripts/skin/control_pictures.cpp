// Pictures of the controls inside pages: search box ends, separators, tab buttons, the edit icon.
#include <QPainterPath>

#include "skin_paint.h"

namespace skin
{
namespace
{

// The edit field's own frame colour (LineColor, a shade darker).
const QColor kFieldFrame(192, 192, 192);

void SearchBoxEnds()
{
    const int height = 21;
    {
        QImage image = Canvas(22, height, Qt::white);
        QPainter painter;
        Begin(painter, image);
        QPainterPath frame;
        frame.moveTo(22, 0.5);
        frame.lineTo(4, 0.5);
        frame.quadTo(0.5, 0.5, 0.5, 4);
        frame.lineTo(0.5, height - 4);
        frame.quadTo(0.5, height - 0.5, 4, height - 0.5);
        frame.lineTo(22, height - 0.5);
        painter.setPen(QPen(kFieldFrame, 1));
        painter.drawPath(frame);
        DrawMagnifier(painter, QPointF(11.5, 10.5), 13, kMuted, 1.6);
        painter.end();
        Save(image, "btn_pie.bmp");
    }
    {
        QImage image = Canvas(8, height, Qt::white);
        QPainter painter;
        Begin(painter, image);
        QPainterPath frame;
        frame.moveTo(0, 0.5);
        frame.lineTo(4, 0.5);
        frame.quadTo(7.5, 0.5, 7.5, 4);
        frame.lineTo(7.5, height - 4);
        frame.quadTo(7.5, height - 0.5, 4, height - 0.5);
        frame.lineTo(0, height - 0.5);
        painter.setPen(QPen(kFieldFrame, 1));
        painter.drawPath(frame);
        painter.end();
        Save(image, "btn_pie2.bmp");
    }
}

void Separators()
{
    Save(Canvas(600, 1, kLine), "line.bmp");
    Save(Canvas(600, 1, QColor(200, 200, 200)), "gray_line.bmp");
}

void TabButtons()
{
    const int width = 99;
    const int height = 35;
    {
        QImage image = Canvas(width, height, Qt::white);
        QPainter painter(&image);
        painter.fillRect(QRect(0, 0, width, 1), kLine);
        painter.fillRect(QRect(0, 0, 1, height), kLine);
        painter.fillRect(QRect(width - 1, 0, 1, height), kLine);
        painter.fillRect(QRect(0, height - 3, width, 3), kAccent);
        painter.end();
        Save(image, "wireless_basic.bmp");
    }
    {
        QImage image = Canvas(width, height, kPanel);
        QPainter painter(&image);
        painter.fillRect(QRect(0, 0, width, 1), kLine);
        painter.fillRect(QRect(0, 0, 1, height), kLine);
        painter.fillRect(QRect(width - 1, 0, 1, height), kLine);
        painter.fillRect(QRect(0, height - 1, width, 1), kLine);
        painter.end();
        Save(image, "wireless_config.bmp");
    }
}

// White is transparent where this icon is used, so the pencil holds no pure white.
void EditIcon()
{
    QImage image = Canvas(16, 16, Qt::white);
    QPainter painter;
    Begin(painter, image);
    painter.translate(8, 8);
    painter.rotate(-45);
    painter.setPen(QPen(kInk, 1.1));
    painter.setBrush(QColor(250, 200, 60));
    painter.drawRect(QRectF(-4.5, -2.2, 8.5, 4.4));
    painter.setBrush(kAccent);
    painter.drawRect(QRectF(4.0, -2.2, 2.4, 4.4));
    painter.setBrush(QColor(236, 214, 180));
    painter.drawPolygon(QPolygonF({QPointF(-4.5, -2.2), QPointF(-7.6, 0), QPointF(-4.5, 2.2)}));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    painter.drawPolygon(QPolygonF({QPointF(-6.6, -0.8), QPointF(-7.7, 0), QPointF(-6.6, 0.8)}));
    painter.end();
    Save(image, "write.bmp");
}

} // namespace

void MakeControlPictures()
{
    SearchBoxEnds();
    Separators();
    TabButtons();
    EditIcon();
}

} // namespace skin
