// Opening a web address in the user's browser, through one place that tests can capture.
#pragma once

#include <functional>

#include <QString>

// Hands the text to the desktop as a URL, unchanged.
void OpenUrl(const QString& url);

// Test hook: every later OpenUrl goes to opener instead of the desktop; an empty function restores it.
void SetUrlOpenerForTest(std::function<void(const QString&)> opener);
