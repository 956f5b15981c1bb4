// The look every skinned control shares: Setting.ini's colours and fonts as Qt values, skin pictures,
// and the mapping of the layout's units to pixels.
#pragma once

#include <string_view>

#include <QColor>
#include <QFont>
#include <QPixmap>

#include "app/settings.h"

// Layouts are drawn in dialog units of a 9-point font; one unit is 1.5 pixels here.
constexpr int FromDialogUnits(int units)
{
    return (units * 3 + 1) / 2;
}

// Sizes given in the pixels of that layout's screen (column widths, font heights, row height)
// shrink with the same ratio, so that they keep their place against the dialog units.
constexpr int FromLayoutPixels(int pixels)
{
    return (pixels * 6 + 3) / 7;
}

QColor ToQColor(ColorRef colour);

// A font of the interface's face with a height and a weight as Setting.ini gives them
// (weight 0 is the normal weight).
QFont SkinFont(int height, int weight);

QFont ButtonFont();
QFont MenuButtonFont();
QFont StaticFont();
QFont GridFont();
QFont GridTitleFont();

// The named picture of the Skin folder; a null pixmap when it is missing or unreadable, so that
// every control can fall back to drawing itself.
QPixmap SkinPicture(std::string_view file);

// The same with every pure white pixel transparent.
QPixmap SkinPictureWhiteTransparent(std::string_view file);

// Image index of a horizontal strip of width x height images, white transparent; null when the
// picture is missing or too small for it.
QPixmap SkinStripImage(std::string_view file, int index, int width, int height);

// chineseFile when the interface language is Chinese (LCID 2052), else otherFile.
std::string_view SkinFileForLanguage(std::string_view chineseFile, std::string_view otherFile);
