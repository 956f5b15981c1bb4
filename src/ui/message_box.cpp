#include "ui/message_box.h"

#include <QAbstractButton>

#include "ui/text_bridge.h"

namespace
{

struct TestAnswers
{
    std::deque<QMessageBox::StandardButton> next;
    bool answerAll = false;
    std::vector<CMessageBox::Shown> shown;
};

TestAnswers& Answers()
{
    static TestAnswers answers;
    return answers;
}

} // namespace

void CMessageBox::Plain(QWidget* parent, const QString& text)
{
    Show(parent, Kind::Plain, text);
}

void CMessageBox::Warning(QWidget* parent, const QString& text)
{
    Show(parent, Kind::Warning, text);
}

bool CMessageBox::Confirm(QWidget* parent, const QString& text)
{
    return Show(parent, Kind::Confirmation, text) == QMessageBox::Ok;
}

void CMessageBox::SetNextAnswer(QMessageBox::StandardButton answer)
{
    Answers().next.push_back(answer);
}

void CMessageBox::SetAnswerAllForTest(bool on)
{
    Answers().answerAll = on;
}

const std::vector<CMessageBox::Shown>& CMessageBox::ShownBoxes()
{
    return Answers().shown;
}

void CMessageBox::ClearShownBoxes()
{
    Answers().shown.clear();
}

QMessageBox::StandardButton CMessageBox::Show(QWidget* parent, Kind kind, const QString& text)
{
    const QString title = kind == Kind::Warning ? QString() : LookupQText("CPEManagement");
    TestAnswers& answers = Answers();
    if (!answers.next.empty() || answers.answerAll)
    {
        answers.shown.push_back({kind, title, text});
        if (answers.next.empty())
            return QMessageBox::Ok;
        const QMessageBox::StandardButton answer = answers.next.front();
        answers.next.pop_front();
        return answer;
    }

    QMessageBox box(parent);
    box.setObjectName("messageBox");
    box.setWindowTitle(title);
    box.setText(text);
    switch (kind)
    {
    case Kind::Plain:
        box.setIcon(QMessageBox::NoIcon);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Kind::Warning:
        box.setIcon(QMessageBox::Warning);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Kind::Confirmation:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    }
    if (QAbstractButton* ok = box.button(QMessageBox::Ok))
        ok->setText(LookupQText("OK"));
    if (QAbstractButton* cancel = box.button(QMessageBox::Cancel))
        cancel->setText(LookupQText("Cancel"));
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
