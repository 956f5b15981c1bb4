// A picture on a page: stretched over the control (separator lines) or centred at its own size,
// animated when the file is an animated GIF, and a plain fill when the picture is missing.
#pragma once

#include <memory>
#include <string_view>

#include <QColor>
#include <QPixmap>
#include <QWidget>

class QMovie;

class CPictureView : public QWidget
{
    Q_OBJECT

public:
    explicit CPictureView(QWidget* parent = nullptr);
    ~CPictureView() override;

    // False when the file is missing; the view then shows its fallback colour (or nothing).
    bool LoadSkinPicture(std::string_view file);
    bool LoadPicture(const QString& path);
    void SetPicture(const QPixmap& picture);
    bool HasPicture() const;
    bool IsAnimated() const { return m_movie != nullptr; }

    void SetStretch(bool stretch);
    void SetFallbackColor(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QPixmap CurrentFrame() const;

    QPixmap m_picture;
    std::unique_ptr<QMovie> m_movie;
    QColor m_fallback;
    bool m_stretch = false;
};
