#include "ui/skin_style.h"

#include <QStyleFactory>

CSkinStyle::CSkinStyle() : QProxyStyle(QStyleFactory::create("Fusion")) {}

int CSkinStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                          QStyleHintReturn* returnData) const
{
    if (hint == QStyle::SH_ToolTip_WakeUpDelay)
        return 500;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}
