// A one-line edit field in the static-text font, framed in the line colour, optionally between a
// left and a right frame picture (the search box).
#pragma once

#include <string_view>

#include <QLineEdit>
#include <QPixmap>

class CEditField : public QLineEdit
{
    Q_OBJECT

public:
    explicit CEditField(QWidget* parent = nullptr);

    // The pictures are drawn at the two ends, at the field's height, with the text between them.
    void SetFramePictures(std::string_view leftFile, std::string_view rightFile);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int ScaledWidth(const QPixmap& picture) const;
    void UpdateMargins();

    QPixmap m_left;
    QPixmap m_right;
};
