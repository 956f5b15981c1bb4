#include "ui/skin_look.h"

#include <algorithm>
#include <cmath>
#include <string>

#include <QBitmap>
#include <QFileInfo>

#include "app/application_app.h"
#include "support/language.h"
#include "support/log.h"

namespace
{

const CSettings& Look()
{
    return CApplicationApp::Instance().Settings();
}

} // namespace

QColor ToQColor(ColorRef colour)
{
    return QColor(ColorRed(colour), ColorGreen(colour), ColorBlue(colour));
}

QFont SkinFont(int height, int weight)
{
    const std::string& face = Look().FontName;
    QFont font(face.empty() ? QString("Sans Serif") : QString::fromStdString(face));
    // Setting.ini's heights are cell heights (ascent plus descent); the glyphs' em is about 1/1.15 of it.
    font.setPixelSize(std::max(6, static_cast<int>(std::lround(FromLayoutPixels(height) / 1.15))));
    // Setting.ini writes weights on the 0..1000 scale, where 0 means "don't care".
    const int clamped = weight <= 0 ? int(QFont::Normal) : std::clamp(weight, 100, 900);
    font.setWeight(QFont::Weight(clamped));
    return font;
}

QFont ButtonFont()
{
    return SkinFont(Look().ButtonFontHeight, Look().ButtonFontWeight);
}

QFont MenuButtonFont()
{
    return SkinFont(Look().ButtonMenuFontHeight, Look().ButtonMenuFontWeight);
}

QFont StaticFont()
{
    return SkinFont(Look().StaticFontHeight, Look().StaticFontWeight);
}

QFont GridFont()
{
    return SkinFont(Look().GridFont.height, Look().GridFont.weight);
}

QFont GridTitleFont()
{
    return SkinFont(Look().GridTitleFont.height, Look().GridTitleFont.weight);
}

QPixmap SkinPicture(std::string_view file)
{
    const QString path = QString::fromStdString(CApplicationApp::Instance().SkinPath(file));
    QPixmap picture;
    if (!QFileInfo::exists(path) || !picture.load(path))
    {
        LOG_INFO("skin picture missing: %s", path.toLocal8Bit().constData());
        return {};
    }
    return picture;
}

QPixmap SkinPictureWhiteTransparent(std::string_view file)
{
    QPixmap picture = SkinPicture(file);
    if (!picture.isNull())
        picture.setMask(picture.createMaskFromColor(Qt::white, Qt::MaskInColor));
    return picture;
}

QPixmap SkinStripImage(std::string_view file, int index, int width, int height)
{
    const QPixmap strip = SkinPictureWhiteTransparent(file);
    if (strip.isNull() || index < 0 || (index + 1) * width > strip.width() || height > strip.height())
        return {};
    return strip.copy(index * width, 0, width, height);
}

std::string_view SkinFileForLanguage(std::string_view chineseFile, std::string_view otherFile)
{
    return GetCurrentLcid() == kLcidChineseSimplified ? chineseFile : otherFile;
}
