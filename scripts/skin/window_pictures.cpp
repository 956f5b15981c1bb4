// The main window, its page menu, its three buttons, the information menu and the program icon.
#include <QPainterPath>

#include "skin_paint.h"

namespace skin
{
namespace
{

constexpr int kWindowWidth = 1056;
constexpr int kWindowHeight = 623;
constexpr int kHeaderHeight = 74; // where the page area starts
constexpr int kMenuLeftWidth = 138;

void HeaderBand(QPainter& painter, int width, int height)
{
    QLinearGradient band(0, 0, 0, height);
    band.setColorAt(0, kHeaderLight);
    band.setColorAt(1, kHeader);
    painter.fillRect(QRect(0, 0, width, height), band);
    painter.fillRect(QRect(0, height - 2, width, 2), kAccent);
}

// A mast with its antenna sending to both sides.
void Emblem(QPainter& painter, QRectF box, const QColor& dot, const QColor& waves)
{
    const qreal unit = box.width();
    const QPointF antenna(box.center().x(), box.top() + unit * 0.36);
    painter.save();
    painter.setPen(QPen(waves, unit * 0.08, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(antenna, QPointF(antenna.x(), box.bottom() - unit * 0.04));
    painter.drawLine(QPointF(antenna.x() - unit * 0.16, box.bottom() - unit * 0.04),
                     QPointF(antenna.x() + unit * 0.16, box.bottom() - unit * 0.04));
    painter.setPen(Qt::NoPen);
    painter.setBrush(dot);
    painter.drawEllipse(antenna, unit * 0.09, unit * 0.09);
    painter.restore();
    for (const qreal direction : {0.0, 180.0})
    {
        painter.save();
        painter.setPen(QPen(waves, unit * 0.075, Qt::SolidLine, Qt::RoundCap));
        for (const qreal radius : {unit * 0.22, unit * 0.38})
            painter.drawArc(QRectF(antenna.x() - radius, antenna.y() - radius, 2 * radius, 2 * radius),
                            int((direction - 40) * 16), 80 * 16);
        painter.restore();
    }
}

void MainBackground()
{
    QImage image = Canvas(kWindowWidth, kWindowHeight, Qt::white);
    QPainter painter;
    Begin(painter, image);
    HeaderBand(painter, kWindowWidth, kHeaderHeight);
    Emblem(painter, QRectF(16, 13, 46, 46), kAccent, Qt::white);
    painter.setPen(Qt::white);
    painter.setFont(Font(26, true));
    painter.drawText(QRect(74, 0, 400, kHeaderHeight - 2), Qt::AlignVCenter | Qt::AlignLeft, "Fieldmate");

    // The left column above the page menu continues the menu's panel.
    painter.fillRect(QRect(0, kHeaderHeight, kMenuLeftWidth, kWindowHeight - kHeaderHeight), Qt::white);
    painter.fillRect(QRect(kMenuLeftWidth - 1, kHeaderHeight, 1, kWindowHeight - kHeaderHeight), kLine);
    Emblem(painter, QRectF(kMenuLeftWidth / 2 - 17, kHeaderHeight + 13, 34, 34), kAccent, QColor(190, 194, 200));
    painter.end();
    Save(image, "main_bk.jpg");
}

void MenuBackground()
{
    QImage image = Canvas(137, 486, Qt::white);
    QPainter painter;
    Begin(painter, image);
    painter.fillRect(QRect(136, 0, 1, 486), kLine);
    painter.fillRect(QRect(16, 452, 104, 1), QColor(236, 237, 239));
    painter.end();
    Save(image, "main_left_bk.jpg");
}

void MenuButton(const QString& name, bool down)
{
    QImage image = Canvas(135, 42, Qt::white);
    QPainter painter;
    Begin(painter, image);
    if (down)
    {
        painter.fillRect(QRect(0, 0, 135, 42), QColor(244, 245, 247));
        painter.fillRect(QRect(0, 0, 4, 42), kAccent);
    }
    painter.fillRect(QRect(down ? 4 : 12, 0, 135, 1), QColor(234, 235, 238));
    painter.end();
    Save(image, name);
}

// The small buttons of the header band: a chip a shade lighter than the band with a white glyph.
QImage HeaderChip(int width, int height)
{
    QImage image = Canvas(width, height, kHeaderLight);
    QPainter painter;
    Begin(painter, image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(66, 74, 85));
    painter.drawRoundedRect(QRectF(0.5, 0.5, width - 1, height - 1), 3, 3);
    painter.end();
    return image;
}

void HeaderButtons()
{
    const QPen glyph(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap);
    {
        QImage image = HeaderChip(26, 15);
        QPainter painter;
        Begin(painter, image);
        painter.setPen(QPen(Qt::white, 1.2));
        painter.drawEllipse(QPointF(13, 7.5), 5.2, 5.2);
        painter.setPen(glyph);
        painter.drawPoint(QPointF(13, 4.6));
        painter.drawLine(QPointF(13, 7.2), QPointF(13, 10.4));
        painter.end();
        Save(image, "help_normal.bmp");
    }
    {
        QImage image = HeaderChip(26, 15);
        QPainter painter;
        Begin(painter, image);
        painter.setPen(glyph);
        painter.drawLine(QPointF(9, 10), QPointF(17, 10));
        painter.end();
        Save(image, "min_normal.bmp");
    }
    for (const auto& [name, width, height] : {std::tuple{"close_normal.bmp", 26, 15}, {"close_config.bmp", 26, 18}})
    {
        QImage image = HeaderChip(width, height);
        QPainter painter;
        Begin(painter, image);
        painter.setPen(glyph);
        const QPointF centre(width / 2.0, height / 2.0);
        painter.drawLine(centre + QPointF(-3.5, -3.5), centre + QPointF(3.5, 3.5));
        painter.drawLine(centre + QPointF(-3.5, 3.5), centre + QPointF(3.5, -3.5));
        painter.end();
        Save(image, name);
    }
}

void InfoMenuIcons()
{
    const int side = 32;
    {
        QImage image = Canvas(side, side, Qt::white);
        QPainter painter;
        Begin(painter, image);
        DrawDevice(painter, QRectF(10, 3, 12, 26));
        painter.end();
        Save(image, "help_product_normal.bmp");
    }
    {
        QImage image = Canvas(side, side, Qt::white);
        QPainter painter;
        Begin(painter, image);
        painter.setPen(Qt::NoPen);
        for (int i = 0; i < 4; ++i)
        {
            painter.setBrush(i % 2 == 0 ? kAccent : kSoft);
            QPainterPath quarter;
            quarter.moveTo(16, 16);
            quarter.arcTo(QRectF(3, 3, 26, 26), 90 * i + 45, 90);
            quarter.closeSubpath();
            painter.drawPath(quarter);
        }
        painter.setBrush(QColor(254, 254, 254));
        painter.drawEllipse(QPointF(16, 16), 6.5, 6.5);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(kInk, 1.6));
        painter.drawEllipse(QPointF(16, 16), 13, 13);
        painter.drawEllipse(QPointF(16, 16), 6.5, 6.5);
        painter.end();
        Save(image, "help_support_normal.bmp");
    }
    {
        QImage image = Canvas(side, side, Qt::white);
        QPainter painter;
        Begin(painter, image);
        painter.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(kSoft);
        painter.drawRoundedRect(QRectF(3, 7, 26, 18), 2.5, 2.5);
        painter.drawPolyline(QPolygonF({QPointF(4, 8.5), QPointF(16, 18), QPointF(28, 8.5)}));
        painter.end();
        Save(image, "help_contact_normal.bmp");
    }
    {
        QImage image = Canvas(side, side, Qt::white);
        QPainter painter;
        Begin(painter, image);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kInk);
        painter.drawEllipse(QPointF(16, 16), 13.5, 13.5);
        painter.setPen(QColor(254, 254, 254));
        painter.setFont(Font(20, true));
        painter.drawText(QRect(0, 0, side, side), Qt::AlignCenter, "?");
        painter.end();
        Save(image, "help_help_normal.bmp");
    }
}

void ProgramIcon()
{
    for (int side : {16, 24, 32, 48, 64, 256})
    {
        QImage image = Canvas(side, side, Qt::transparent);
        QPainter painter;
        Begin(painter, image);
        QLinearGradient fill(0, 0, 0, side);
        fill.setColorAt(0, kHeaderLight);
        fill.setColorAt(1, kHeader);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawRoundedRect(QRectF(0, 0, side, side), side * 0.22, side * 0.22);
        Emblem(painter, QRectF(side * 0.1, side * 0.1, side * 0.8, side * 0.8), kAccent, Qt::white);
        painter.end();
        Save(image, QString("icon_%1.png").arg(side));
    }
}

} // namespace

void MakeWindowPictures()
{
    MainBackground();
    MenuBackground();
    MenuButton("bt_menu_search_normal.bmp", false);
    MenuButton("bt_menu_search_down.bmp", true);
    MenuButton("bt_menu_wireless_normal.bmp", false);
    MenuButton("bt_menu_wireless_down.bmp", true);
    HeaderButtons();
    InfoMenuIcons();
    ProgramIcon();
}

} // namespace skin
