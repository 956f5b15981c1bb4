// The small about box of the window's system menu.
#pragma once

#include "ui/t_dialog.h"

class CAboutDlg : public CTDialog
{
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent);
};
