#include "ui/tab_pages.h"

#include <utility>

#include <QStackedWidget>

#include "ui/picture_button.h"
#include "ui/skin_look.h"
#include "ui/text_bridge.h"

CTabPages::CTabPages(QSize buttonSize, std::string selectedFile, std::string normalFile, QWidget* parent)
    : QWidget(parent), m_buttonSize(buttonSize), m_selectedFile(std::move(selectedFile)),
      m_normalFile(std::move(normalFile))
{
    m_stack = new QStackedWidget(this);
    m_stack->setObjectName("tabStack");
}

int CTabPages::AddTab(const QString& key, QWidget* page)
{
    const int index = TabCount();
    auto* button = new CPictureButton(this);
    button->setObjectName(QString("tabButton%1").arg(index));
    button->setText(LookupQText(key));
    // Each button holds both pictures; the selected state picks the down one.
    button->SetPictures(SkinPicture(m_normalFile), SkinPicture(m_selectedFile));
    connect(button, &CPictureButton::clicked, this, [this, index] { SetCurrentTab(index); });
    m_buttons.push_back(button);
    m_stack->addWidget(page);
    Arrange();
    if (m_current < 0)
        SetCurrentTab(index);
    return index;
}

void CTabPages::SetCurrentTab(int index)
{
    if (index < 0 || index >= TabCount() || !m_buttons[index]->isEnabled())
        return;
    for (int i = 0; i < TabCount(); ++i)
        m_buttons[i]->SetSelected(i == index);
    m_stack->setCurrentIndex(index);
    if (m_current == index)
        return;
    m_current = index;
    emit CurrentTabChanged(index);
}

void CTabPages::SetTabEnabled(int index, bool enabled)
{
    if (index >= 0 && index < TabCount())
        m_buttons[index]->setEnabled(enabled);
}

CPictureButton* CTabPages::TabButton(int index) const
{
    return index >= 0 && index < TabCount() ? m_buttons[index] : nullptr;
}

QWidget* CTabPages::Page(int index) const
{
    return m_stack->widget(index);
}

void CTabPages::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Arrange();
}

void CTabPages::Arrange()
{
    for (int i = 0; i < TabCount(); ++i)
        m_buttons[i]->setGeometry(i * m_buttonSize.width(), 0, m_buttonSize.width(), m_buttonSize.height());
    m_stack->setGeometry(0, m_buttonSize.height(), width(), std::max(0, height() - m_buttonSize.height()));
}
