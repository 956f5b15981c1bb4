// A picture larger than its page, scrolled with the scroll bars, the wheel or by dragging it.
#pragma once

#include <QScrollArea>

class QLabel;

class CScrollPictureView : public QScrollArea
{
    Q_OBJECT

public:
    explicit CScrollPictureView(QWidget* parent = nullptr);

    // A missing or unreadable file leaves the view empty; false then.
    bool LoadPicture(const QString& path);
    bool HasPicture() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* m_picture = nullptr;
    QPoint m_dragStart;
    QPoint m_scrollStart;
    bool m_dragging = false;
};
