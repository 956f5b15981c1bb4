#include "ui/static_text.h"

#include "app/application_app.h"
#include "ui/skin_look.h"

CStaticText::CStaticText(const QString& text, QWidget* parent, Style style) : QLabel(text, parent)
{
    setFont(StaticFont());
    setAutoFillBackground(true);
    SetStyle(style);
}

void CStaticText::SetStyle(Style style)
{
    const CSettings& look = CApplicationApp::Instance().Settings();
    ColorRef text = look.StaticFontTextColor;
    if (style == Style::Number)
        text = look.StaticTextNumberColor;
    else if (style == Style::Expert)
        text = look.ExpertTextColor;
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, ToQColor(text));
    colours.setColor(QPalette::Window, ToQColor(look.StaticFontBkColor));
    setPalette(colours);
}

void CStaticText::SetTransparent(bool transparent)
{
    setAutoFillBackground(!transparent);
}
