#include "pages/placeholder_page_dlg.h"

#include "ui/static_text.h"
#include "ui/translate_window.h"

CPlaceholderPageDlg::CPlaceholderPageDlg(int pageId, const QString& titleKey, QWidget* parent)
    : CPageDlg(pageId, parent)
{
    auto* title = new CStaticText(titleKey, this);
    title->setObjectName("pageTitle");
    QFont heading = title->font();
    heading.setPixelSize(heading.pixelSize() * 4 / 3);
    heading.setBold(true);
    title->setFont(heading);
    title->move(12, 10);
    TranslateWindow(this);
    title->adjustSize();
}
