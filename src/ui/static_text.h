// A label in the static-text font and colours of Setting.ini.
#pragma once

#include <QLabel>

class CStaticText : public QLabel
{
    Q_OBJECT

public:
    enum class Style
    {
        Normal, // StaticFontTextColor on StaticFontBkColor
        Number, // counts and other secondary figures: StaticTextNumberColor
        Expert, // advanced settings that need care: ExpertTextColor
    };

    explicit CStaticText(const QString& text = QString(), QWidget* parent = nullptr, Style style = Style::Normal);

    void SetStyle(Style style);
    // Off: the background colour is painted behind the text; on: whatever lies below shows through.
    void SetTransparent(bool transparent);
};
