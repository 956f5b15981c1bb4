#include "pages/install_help_dlg.h"

#include "app/application_app.h"
#include "ui/scroll_picture_view.h"
#include "ui/skin_look.h"
#include "ui/translate_window.h"

namespace
{

constexpr int kMargin = 4;

} // namespace

CInstallHelpDlg::CInstallHelpDlg(QWidget* parent) : CPageDlg(kPageInstallHelp, parent)
{
    TranslateWindow(this);
    m_view = new CScrollPictureView(this);
    m_view->setObjectName("helpPictureView");
    const std::string_view file = SkinFileForLanguage("help_chinese.jpg", "help_other.jpg");
    m_view->LoadPicture(QString::fromStdString(CApplicationApp::Instance().SkinPath(file)));
    m_view->show();
}

void CInstallHelpDlg::resizeEvent(QResizeEvent* event)
{
    CPageDlg::resizeEvent(event);
    m_view->setGeometry(rect().adjusted(kMargin, kMargin, -kMargin, -kMargin));
}
