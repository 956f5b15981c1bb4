#include "pages/pager.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "app/application_app.h"
#include "ui/skin_look.h"

namespace
{

constexpr int kMaxDirectPages = 7;
constexpr int kItemHeight = 20;
constexpr int kItemMinWidth = 22;

} // namespace

std::vector<int> CPager::PagerItems(int current, int count)
{
    std::vector<int> items;
    if (count <= 0)
        return items;
    if (count <= kMaxDirectPages)
    {
        for (int page = 1; page <= count; ++page)
            items.push_back(page);
        return items;
    }
    items.push_back(1);
    if (current <= 4)
        items.insert(items.end(), {2, 3, 4, 5, 0});
    else if (current < count - 3)
        items.insert(items.end(), {0, current - 1, current, current + 1, 0});
    else
        items.insert(items.end(), {0, count - 4, count - 3, count - 2, count - 1});
    items.push_back(count);
    return items;
}

CPager::CPager(QWidget* parent) : QWidget(parent)
{
    m_layout = new QHBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(2);
    const CSettings& look = CApplicationApp::Instance().Settings();
    const QColor text = ToQColor(look.StaticFontTextColor);
    const QColor accent = ToQColor(look.TextDownColor);
    const QColor line = ToQColor(look.LineColor);
    setStyleSheet(QString("QPushButton { border: 1px solid %1; border-radius: 3px; background: white; color: %2; "
                          "padding: 0 4px; } QPushButton:hover { border-color: %3; color: %3; } "
                          "QPushButton[current=\"true\"] { border-color: %3; color: %3; font-weight: bold; } "
                          "QLabel { color: %2; }")
                      .arg(line.darker(112).name(), text.name(), accent.name()));
    Rebuild();
}

void CPager::SetPages(int current, int count)
{
    m_count = std::max(0, count);
    m_current = current > m_count || current < 1 ? 1 : current;
    Rebuild();
}

QStringList CPager::ItemTexts() const
{
    QStringList texts;
    for (int i = 0; i < m_layout->count(); ++i)
        if (QWidget* item = m_layout->itemAt(i)->widget())
        {
            if (auto* button = qobject_cast<QPushButton*>(item))
                texts << button->text();
            else if (auto* gap = qobject_cast<QLabel*>(item))
                texts << gap->text();
        }
    return texts;
}

void CPager::Rebuild()
{
    while (QLayoutItem* item = m_layout->takeAt(0))
    {
        // Later: the clicked button may be the one going. Off the pager at once, so only the new ones count.
        if (QWidget* widget = item->widget())
        {
            widget->hide();
            widget->setParent(nullptr);
            widget->deleteLater();
        }
        delete item;
    }
    // Right-aligned: the pager ends where the grid ends, whatever the number of buttons.
    m_layout->addStretch(1);
    const QFont font = StaticFont();
    for (int page : PagerItems(m_current, m_count))
    {
        if (page == 0)
        {
            auto* gap = new QLabel("...", this);
            gap->setObjectName("pagerGap");
            gap->setFont(font);
            gap->setAlignment(Qt::AlignCenter);
            gap->setFixedHeight(kItemHeight);
            m_layout->addWidget(gap);
            gap->show();
            continue;
        }
        auto* button = new QPushButton(QString::number(page), this);
        button->setObjectName(QString("pagerButton%1").arg(page));
        QFont buttonFont = font;
        buttonFont.setBold(page == m_current);
        button->setFont(buttonFont);
        button->setProperty("current", page == m_current);
        button->setCursor(page == m_current ? Qt::ArrowCursor : Qt::PointingHandCursor);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedHeight(kItemHeight);
        button->setMinimumWidth(kItemMinWidth);
        connect(button, &QPushButton::clicked, this, [this, page] { OnClicked(page); });
        m_layout->addWidget(button);
        // At once, not when the layout gets round to it: the pager is read right after a refresh.
        button->show();
    }
}

void CPager::OnClicked(int page)
{
    if (page == m_current)
        return;
    m_current = page;
    Rebuild();
    emit PageChosen(page);
}
