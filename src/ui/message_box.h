// Every message box of the program, in its three kinds, through one place that tests can answer
// in advance (the box is then recorded instead of shown).
#pragma once

#include <deque>
#include <vector>

#include <QMessageBox>
#include <QString>

class CMessageBox
{
public:
    enum class Kind
    {
        Plain,        // the program's title, no icon, OK
        Warning,      // exclamation icon, empty title, OK
        Confirmation, // question icon, OK and Cancel
    };

    struct Shown
    {
        Kind kind;
        QString title;
        QString text;
    };

    // The texts are shown as given: callers look them up and format them first.
    static void Plain(QWidget* parent, const QString& text);
    static void Warning(QWidget* parent, const QString& text);
    // True when the user chose OK.
    static bool Confirm(QWidget* parent, const QString& text);

    // Test hook: the next box is not shown; it returns this answer and is recorded.
    static void SetNextAnswer(QMessageBox::StandardButton answer);
    // Test hook: every box is answered with OK and recorded, none is shown.
    static void SetAnswerAllForTest(bool on);
    static const std::vector<Shown>& ShownBoxes();
    static void ClearShownBoxes();

private:
    static QMessageBox::StandardButton Show(QWidget* parent, Kind kind, const QString& text);
};
