#include "app/gui/application_dlg.h"

#include "support/language.h"

CApplicationDlg::CApplicationDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName("applicationDlg");
    setWindowTitle(QString::fromStdString(LookupText("CPEManagement")));
    setFixedSize(1056, 622);
}
