#include "pages/page_dlg.h"

#include "app/application_app.h"
#include "ui/skin_look.h"

CPageDlg::CPageDlg(int pageId, QWidget* parent) : CTDialog(parent, Kind::Child), m_pageId(pageId)
{
    setObjectName(QString("page%1").arg(pageId));
    SetBackgroundColor(ToQColor(CApplicationApp::Instance().Settings().ChildBkColor));
    hide();
}
