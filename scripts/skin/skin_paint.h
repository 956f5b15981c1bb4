// Shared colours and small drawing helpers of the skin generator.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

namespace skin
{

const QColor kHeader(35, 40, 47);
const QColor kHeaderLight(50, 57, 66);
const QColor kAccent(216, 34, 40); // the default TextDownColor
const QColor kPanel(242, 243, 245);
const QColor kLine(215, 215, 215); // the default LineColor
const QColor kInk(30, 35, 41);
const QColor kMuted(142, 142, 142);
const QColor kSoft(226, 229, 233);
const QColor kGood(46, 125, 50);

extern QString g_outputDirectory;

QImage Canvas(int width, int height, const QColor& fill);
QFont Font(int pixelSize, bool bold = false);
void Save(const QImage& image, const QString& name);
void Begin(QPainter& painter, QImage& image);

// Glyphs shared by several pictures.
void DrawMagnifier(QPainter& painter, QPointF centre, qreal side, const QColor& colour, qreal width);
void DrawDevice(QPainter& painter, QRectF box); // an outdoor CPE panel
void DrawWaves(QPainter& painter, QPointF origin, qreal radius, const QColor& colour, qreal width, int count,
               qreal direction);

// The pictures, by group.
void MakeWindowPictures();
void MakeControlPictures();
void MakeListPictures();
void MakeHelpPictures();

} // namespace skin
