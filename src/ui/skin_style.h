// The application style: Fusion everywhere, so the program looks the same on every desktop, with
// tooltips that wake after 500 ms.
#pragma once

#include <QProxyStyle>

class CSkinStyle : public QProxyStyle
{
    Q_OBJECT

public:
    CSkinStyle();

    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};
