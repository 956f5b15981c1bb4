// The main window.
#pragma once

#include <QDialog>

class CApplicationDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CApplicationDlg(QWidget* parent = nullptr);
};
