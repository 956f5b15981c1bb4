// Helpers shared by the GUI tests.
#pragma once

#include <QString>

class QWidget;

// Saves widget->grab() as <FIELDMATE_ARTIFACT_DIR>/<name>.png and returns the path ("" without the variable).
QString SaveScreenshot(QWidget* widget, const QString& name);
