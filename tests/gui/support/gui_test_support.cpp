#include "support/gui_test_support.h"

#include <QDir>
#include <QPixmap>
#include <QWidget>

QString SaveScreenshot(QWidget* widget, const QString& name)
{
    const QString directory = qEnvironmentVariable("FIELDMATE_ARTIFACT_DIR");
    if (directory.isEmpty())
        return {};
    QDir().mkpath(directory);
    const QString path = directory + "/" + name + ".png";
    widget->grab().save(path);
    return path;
}
