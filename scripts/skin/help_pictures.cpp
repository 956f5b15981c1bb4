// The install help pictures, one per interface language: six steps, each a sketch and its text.
#include <functional>
#include <vector>

#include <QPainterPath>
#include <QTextLayout>

#include "skin_paint.h"

namespace skin
{
namespace
{

constexpr int kWidth = 880;
constexpr int kStepHeight = 230;
constexpr int kTop = 130;
const QRectF kSketch(30, 44, 300, 170);

struct Step
{
    QString title;
    QString text;
};

void Mast(QPainter& painter, qreal x, qreal top, qreal bottom)
{
    painter.fillRect(QRectF(x - 3, top, 6, bottom - top), QColor(150, 155, 162));
}

void SketchConnect(QPainter& painter)
{
    DrawDevice(painter, QRectF(20, 20, 30, 58));
    // Power adapter with its two ports.
    painter.setPen(QPen(kInk, 2));
    painter.setBrush(kSoft);
    painter.drawRoundedRect(QRectF(110, 85, 70, 40), 6, 6);
    painter.setFont(Font(11, true));
    painter.drawText(QRectF(110, 85, 35, 40), Qt::AlignCenter, "PoE");
    painter.drawText(QRectF(145, 85, 35, 40), Qt::AlignCenter, "LAN");
    // Monitor.
    painter.setBrush(QColor(250, 250, 251));
    painter.drawRoundedRect(QRectF(222, 60, 66, 46), 4, 4);
    painter.drawLine(QPointF(255, 106), QPointF(255, 120));
    painter.drawLine(QPointF(240, 120), QPointF(270, 120));
    QPainterPath cable;
    cable.moveTo(35, 78);
    cable.cubicTo(35, 130, 100, 135, 127, 125);
    cable.moveTo(163, 125);
    cable.cubicTo(185, 150, 235, 145, 255, 122);
    painter.setPen(QPen(kAccent, 3, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(cable);
}

void SketchMount(QPainter& painter)
{
    Mast(painter, 150, 5, 170);
    DrawDevice(painter, QRectF(112, 20, 30, 62));
    painter.setPen(QPen(kInk, 2));
    painter.setBrush(kMuted);
    painter.drawRect(QRectF(140, 40, 22, 8));
    painter.drawRect(QRectF(140, 58, 22, 8));
    QPainterPath cable;
    cable.moveTo(127, 82);
    cable.cubicTo(127, 125, 100, 125, 100, 108);
    cable.cubicTo(100, 95, 145, 110, 147, 165);
    painter.setPen(QPen(kAccent, 3, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(cable);
    // Rain drops running off the loop.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(70, 130, 200));
    for (const QPointF& drop : {QPointF(96, 128), QPointF(104, 142), QPointF(92, 150)})
        painter.drawEllipse(drop, 2.5, 3.5);
}

void SketchAim(QPainter& painter)
{
    Mast(painter, 30, 60, 170);
    Mast(painter, 270, 60, 170);
    DrawDevice(painter, QRectF(16, 40, 24, 46));
    DrawDevice(painter, QRectF(260, 40, 24, 46));
    painter.setPen(QPen(kGood, 1.5, Qt::DashLine));
    painter.setBrush(QColor(46, 125, 50, 25));
    painter.drawEllipse(QRectF(40, 38, 220, 50));
    painter.setPen(QPen(kGood, 2.5));
    painter.drawLine(QPointF(40, 63), QPointF(260, 63));
    // A tree well below the line of sight.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(120, 90, 60));
    painter.drawRect(QRectF(146, 140, 8, 30));
    painter.setBrush(QColor(86, 150, 80));
    painter.drawEllipse(QPointF(150, 130), 22, 20);
}

void SketchFind(QPainter& painter)
{
    const QRectF window(10, 10, 280, 155);
    painter.setPen(QPen(kInk, 1.5));
    painter.setBrush(Qt::white);
    painter.drawRect(window);
    painter.fillRect(QRectF(11, 11, 279, 22), kHeader);
    painter.fillRect(QRectF(11, 33, 279, 1.5), kAccent);
    painter.fillRect(QRectF(56, 35, 1, 129), kLine);
    painter.fillRect(QRectF(11, 42, 4, 16), kAccent);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kSoft);
    for (int i = 0; i < 4; ++i)
        painter.drawRect(QRectF(20, 46 + i * 20, 30, 6));
    painter.setPen(QPen(kAccent, 1.5));
    painter.setBrush(QColor(244, 245, 247));
    painter.drawRoundedRect(QRectF(66, 42, 52, 18), 3, 3);
    DrawMagnifier(painter, QPointF(77, 51), 12, kAccent, 1.6);
    painter.setPen(Qt::NoPen);
    for (int row = 0; row < 5; ++row)
    {
        painter.setBrush(row % 2 == 0 ? kSoft : QColor(236, 238, 241));
        painter.drawRect(QRectF(66, 70 + row * 18, 214, 14));
        painter.setBrush(kGood);
        painter.drawEllipse(QPointF(74, 77 + row * 18), 3, 3);
    }
}

void SketchSetUp(QPainter& painter)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(221, 217, 196));
    painter.drawRect(QRectF(20, 20, 260, 22));
    for (int row = 0; row < 5; ++row)
    {
        const qreal y = 46 + row * 24;
        painter.setPen(QPen(kLine, 1));
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(20, y, 260, 22));
        const bool ticked = row == 0 || row == 1 || row == 3;
        painter.setPen(QPen(ticked ? kAccent : kMuted, 1.2));
        painter.setBrush(ticked ? kAccent : Qt::white);
        painter.drawRoundedRect(QRectF(27, y + 4, 14, 14), 2.5, 2.5);
        if (ticked)
        {
            painter.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.drawPolyline(QPolygonF({QPointF(30, y + 11), QPointF(33, y + 14), QPointF(38, y + 8)}));
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(kSoft);
        painter.drawRect(QRectF(52, y + 8, 80, 6));
        painter.drawRect(QRectF(150, y + 8, 100, 6));
    }
    painter.setPen(QPen(kAccent, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(48, 95, 90, 18));
}

void SketchCheck(QPainter& painter)
{
    Mast(painter, 60, 70, 170);
    DrawDevice(painter, QRectF(44, 30, 32, 60));
    QPainterPath turn;
    turn.arcMoveTo(QRectF(20, 15, 80, 90), 150);
    turn.arcTo(QRectF(20, 15, 80, 90), 150, -120);
    painter.setPen(QPen(kMuted, 2, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(turn);
    painter.setPen(Qt::NoPen);
    for (int bar = 0; bar < 5; ++bar)
    {
        const qreal height = 24 + bar * 22;
        painter.setBrush(kGood);
        painter.drawRoundedRect(QRectF(140 + bar * 28, 150 - height, 18, height), 3, 3);
    }
}

// Draws text wrapped to width, also between Chinese characters.
void DrawWrapped(const QString& text, const QFont& font, qreal width, qreal lineHeight, QPainter& painter, QPointF at)
{
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal y = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
    {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += lineHeight;
    }
    layout.endLayout();
    layout.draw(&painter, at);
}

void HelpPicture(const QString& name, const QString& title, const QString& subtitle, const std::vector<Step>& steps)
{
    const std::vector<std::function<void(QPainter&)>> sketches = {SketchConnect, SketchMount, SketchAim,
                                                                  SketchFind,    SketchSetUp, SketchCheck};
    const int height = kTop + static_cast<int>(steps.size()) * kStepHeight + 20;
    QImage image = Canvas(kWidth, height, Qt::white);
    QPainter painter;
    Begin(painter, image);
    painter.fillRect(QRect(0, 0, kWidth, 96), kHeader);
    painter.fillRect(QRect(0, 94, kWidth, 2), kAccent);
    painter.setPen(Qt::white);
    painter.setFont(Font(30, true));
    painter.drawText(QRect(30, 14, kWidth - 60, 44), Qt::AlignLeft | Qt::AlignVCenter, title);
    painter.setPen(QColor(205, 210, 216));
    painter.setFont(Font(16));
    painter.drawText(QRect(30, 56, kWidth - 60, 28), Qt::AlignLeft | Qt::AlignVCenter, subtitle);

    for (size_t i = 0; i < steps.size(); ++i)
    {
        const int top = kTop + static_cast<int>(i) * kStepHeight;
        if (i > 0)
            painter.fillRect(QRect(30, top - 12, kWidth - 60, 1), kLine);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kAccent);
        painter.drawEllipse(QPointF(46, top + 16), 16, 16);
        painter.setPen(Qt::white);
        painter.setFont(Font(18, true));
        painter.drawText(QRectF(30, top, 32, 32), Qt::AlignCenter, QString::number(i + 1));
        painter.setPen(kInk);
        painter.setFont(Font(22, true));
        painter.drawText(QRect(74, top, 600, 32), Qt::AlignLeft | Qt::AlignVCenter, steps[i].title);

        painter.save();
        painter.translate(kSketch.left(), top + kSketch.top());
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(248, 249, 250));
        painter.drawRoundedRect(QRectF(0, 0, kSketch.width(), kSketch.height()), 8, 8);
        sketches[i % sketches.size()](painter);
        painter.restore();

        painter.setPen(kInk);
        DrawWrapped(steps[i].text, Font(17), kWidth - 400, 28, painter, QPointF(360, top + kSketch.top() + 6));
    }
    painter.end();
    Save(image, name);
}

} // namespace

void MakeHelpPictures()
{
    HelpPicture("help_other.jpg", "Installation guide", "From the box to a working link in six steps.",
                {
                    {"Connect", "Plug the device's cable into the PoE port of its power adapter, and the adapter's "
                                "LAN port into your PC or switch. Use shielded outdoor cable for the run up the mast."},
                    {"Mount", "Fix the device to the pole with its clamp, the cable port facing down. Leave a drip "
                              "loop below the device, so that rain runs off the cable and not into the port."},
                    {"Aim", "Point the device at the access point, or at the far end of the bridge. Keep the line "
                            "of sight clear of trees, roofs and walls."},
                    {"Find", "Open Device status and click Search. Every device on the LAN appears within 30 "
                             "seconds, whatever its IP address."},
                    {"Set up", "Tick devices to give them IP addresses in one go, double-click a name to rename "
                               "the device, or open Device management for its wireless and security settings."},
                    {"Check", "In Device bridge, watch the signal bars while you turn the device slowly, and fix "
                              "it where it shows the most bars."},
                });
    HelpPicture(
        "help_chinese.jpg", QString::fromUtf8("安装指南"), QString::fromUtf8("六个步骤，从开箱到链路连通。"),
        {
            {QString::fromUtf8("连接"), QString::fromUtf8("将设备的网线插入电源适配器的 PoE 口，再将适配器的 LAN "
                                                          "口连接到电脑或交换机。上杆部分请使用户外屏蔽网线。")},
            {QString::fromUtf8("安装"), QString::fromUtf8("用抱箍将设备固定在抱杆上，网口朝下。在设备下方留出滴水弯，"
                                                          "让雨水顺着网线流走，而不是流进网口。")},
            {QString::fromUtf8("对准"),
             QString::fromUtf8("将设备对准接入点或网桥的对端设备。视线范围内不要有树木、屋顶或墙体遮挡。")},
            {QString::fromUtf8("搜索"), QString::fromUtf8("打开“设备状态”页并点击“搜索”。无论 IP 地址是多少，"
                                                          "局域网内的所有设备都会在 30 秒内出现。")},
            {QString::fromUtf8("配置"), QString::fromUtf8("勾选设备可一次为多台设备设置 IP 地址；双击名称可重命名设备；"
                                                          "在“设备管理”中可修改无线和安全设置。")},
            {QString::fromUtf8("检查"),
             QString::fromUtf8("在“设备网桥”页中缓慢转动设备并观察信号格，在信号格最多的位置将其固定。")},
        });
}

} // namespace skin
