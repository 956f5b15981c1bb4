// The skinned dialog every window and page is made of: a fill colour and a stretched background
// picture, a thin border, dragging by the background, and Enter and Escape that never close it.
#pragma once

#include <QColor>
#include <QDialog>
#include <QPixmap>
#include <QPoint>

class CTDialog : public QDialog
{
    Q_OBJECT

public:
    enum class Kind
    {
        Window, // a window of its own (main window, modal dialogs)
        Child,  // embedded in another dialog (menu, page container, pages)
    };

    explicit CTDialog(QWidget* parent = nullptr, Kind kind = Kind::Window);

    // An invalid colour turns the fill off.
    void SetBackgroundColor(const QColor& colour);
    // Stretched over the whole dialog, above the fill; a null picture leaves the fill alone.
    void SetBackgroundPicture(const QPixmap& picture);
    void SetBorder(bool on, const QColor& colour = QColor());
    // Pressing the left button on the background moves the top-level window.
    void SetDragMove(bool on) { m_dragMove = on; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QColor m_backgroundColor;
    QPixmap m_backgroundPicture;
    QColor m_borderColor;
    bool m_border = false;
    bool m_dragMove = false;
    bool m_dragging = false;
    QPoint m_dragOffset;
};
