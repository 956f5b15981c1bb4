// The pager of a device list: at most seven page buttons with "..." gaps, the current page in bold.
// A click on another page's button makes it current and reports the chosen page.
#pragma once

#include <vector>

#include <QWidget>

class QHBoxLayout;

class CPager : public QWidget
{
    Q_OBJECT

public:
    // What the pager shows for a current page and a page count: page numbers, 0 for a gap.
    static std::vector<int> PagerItems(int current, int count);

    explicit CPager(QWidget* parent = nullptr);

    // A current page above the count shows page 1 as current.
    void SetPages(int current, int count);
    int CurrentPage() const { return m_current; }
    int PageCount() const { return m_count; }
    // The texts of the shown items in order ("1", "...", ...), for tests and tips.
    QStringList ItemTexts() const;

signals:
    void PageChosen(int page);

private:
    void Rebuild();
    void OnClicked(int page);

    QHBoxLayout* m_layout = nullptr;
    int m_current = 1;
    int m_count = 0;
};
