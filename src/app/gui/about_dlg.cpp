#include "app/gui/about_dlg.h"

#include <QIcon>

#include "app/application_app.h"
#include "ui/picture_button.h"
#include "ui/skin_look.h"
#include "ui/static_text.h"
#include "ui/text_bridge.h"
#include "ui/translate_window.h"

CAboutDlg::CAboutDlg(QWidget* parent) : CTDialog(parent, Kind::Window)
{
    setObjectName("aboutDlg");
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    const CSettings& look = CApplicationApp::Instance().Settings();
    SetBackgroundColor(ToQColor(look.ChildBkColor));
    SetBorder(true, ToQColor(look.LineColor).darker(130));
    SetDragMove(true);
    setFixedSize(FromDialogUnits(240), FromDialogUnits(110));

    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QString::fromStdString(CApplicationApp::Instance().SkinPath("Application.ico"))).pixmap(48));
    icon->setGeometry(FromDialogUnits(12), FromDialogUnits(14), 48, 48);

    auto* name = new CStaticText("CPEManagement", this);
    name->setObjectName("aboutName");
    QFont bigger = name->font();
    bigger.setPixelSize(bigger.pixelSize() * 3 / 2);
    bigger.setBold(true);
    name->setFont(bigger);
    name->setGeometry(FromDialogUnits(50), FromDialogUnits(12), FromDialogUnits(180), FromDialogUnits(16));

    auto* version = new CStaticText(QString(), this, CStaticText::Style::Number);
    version->setObjectName("aboutVersion");
    version->setProperty(kNoTranslateProperty, true);
    version->setText(LocalToQString(look.VersionText));
    version->setGeometry(FromDialogUnits(50), FromDialogUnits(30), FromDialogUnits(180), FromDialogUnits(11));

    auto* purpose = new CStaticText("Finds, lists and sets up the wireless devices on the local network.", this);
    purpose->setObjectName("aboutPurpose");
    purpose->setWordWrap(true);
    purpose->setGeometry(FromDialogUnits(50), FromDialogUnits(45), FromDialogUnits(180), FromDialogUnits(30));

    auto* ok = new CPictureButton(this);
    ok->setObjectName("aboutOkButton");
    ok->setText("OK");
    ok->setGeometry(FromDialogUnits(185), FromDialogUnits(86), FromDialogUnits(45), FromDialogUnits(16));
    connect(ok, &CPictureButton::clicked, this, &QDialog::accept);

    TranslateWindow(this);
}
