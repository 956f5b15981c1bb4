// The install help page: one large help picture in the interface's language, scrolled.
#pragma once

#include "pages/page_dlg.h"

class CScrollPictureView;

class CInstallHelpDlg : public CPageDlg
{
    Q_OBJECT

public:
    explicit CInstallHelpDlg(QWidget* parent);

    CScrollPictureView* PictureView() const { return m_view; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    CScrollPictureView* m_view = nullptr;
};
