// A button drawn from a normal and a down picture, with a label in the font and colour of
// Setting.ini, and a selected state drawn like a pressed button (menu and tab buttons).
#pragma once

#include <string_view>

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

class CPictureButton : public QAbstractButton
{
    Q_OBJECT

public:
    enum class Role
    {
        Button,     // buttons of pages and dialogs: the button font and colour
        MenuButton, // the page menu: the menu button font and colour
    };

    explicit CPictureButton(QWidget* parent = nullptr, Role role = Role::Button);

    // Without a down picture the normal one is used for every state; without any picture the
    // button draws a plain frame, so it works with no skin at all.
    void SetPictures(const QPixmap& normal, const QPixmap& down = QPixmap());
    void SetPictureFiles(std::string_view normal, std::string_view down = {});
    const QPixmap& NormalPicture() const { return m_normal; }

    void SetSelected(bool selected);
    bool IsSelected() const { return m_selected; }

    // Drawn over the picture while the mouse is over the button.
    void SetHoverTint(const QColor& tint) { m_hoverTint = tint; }
    void SetTextColor(const QColor& colour);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void DrawPlainFrame(QPainter& painter, bool down) const;

    QPixmap m_normal;
    QPixmap m_down;
    QColor m_textColor;
    QColor m_downTextColor;
    QColor m_lineColor;
    QColor m_hoverTint{0, 0, 0, 18};
    bool m_selected = false;
    bool m_hover = false;
    bool m_keyboardFocus = false; // the focus frame shows only for focus reached by keys
};
