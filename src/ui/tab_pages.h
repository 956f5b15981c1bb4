// Tab buttons side by side over a stack of pages; only the chosen page shows, every page keeps its
// input while another one is chosen.
#pragma once

#include <string>
#include <vector>

#include <QSize>
#include <QWidget>

class CPictureButton;
class QStackedWidget;

class CTabPages : public QWidget
{
    Q_OBJECT

public:
    // buttonSize is the size of each tab button; selectedFile and normalFile are the skin pictures
    // of the chosen tab's button and of the others.
    CTabPages(QSize buttonSize, std::string selectedFile, std::string normalFile, QWidget* parent = nullptr);

    // Adds a page with its button labelled by the language text of key; returns its index.
    int AddTab(const QString& key, QWidget* page);
    void SetCurrentTab(int index);
    int CurrentTab() const { return m_current; }
    int TabCount() const { return static_cast<int>(m_buttons.size()); }
    void SetTabEnabled(int index, bool enabled);
    CPictureButton* TabButton(int index) const;
    QWidget* Page(int index) const;

signals:
    void CurrentTabChanged(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Arrange();

    QSize m_buttonSize;
    std::string m_selectedFile;
    std::string m_normalFile;
    std::vector<CPictureButton*> m_buttons;
    QStackedWidget* m_stack = nullptr;
    int m_current = -1;
};
