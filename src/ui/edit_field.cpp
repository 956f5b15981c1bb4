#include "ui/edit_field.h"

#include <algorithm>

#include <QPainter>

#include "app/application_app.h"
#include "ui/skin_look.h"

CEditField::CEditField(QWidget* parent) : QLineEdit(parent)
{
    const CSettings& look = CApplicationApp::Instance().Settings();
    setFont(StaticFont());
    const QColor line = ToQColor(look.LineColor).darker(112);
    const QColor focus = ToQColor(look.TextDownColor);
    const QColor text = ToQColor(look.StaticFontTextColor);
    setStyleSheet(QString("QLineEdit { border: 1px solid %1; border-radius: 3px; padding: 1px 4px; background: white; "
                          "color: %2; } QLineEdit:focus { border-color: %3; } QLineEdit:disabled { color: %4; "
                          "background: %5; }")
                      .arg(line.name(), text.name(), focus.name(), ToQColor(look.StaticTextNumberColor).name(),
                           ToQColor(look.LineColor).lighter(110).name()));
}

void CEditField::SetFramePictures(std::string_view leftFile, std::string_view rightFile)
{
    m_left = SkinPicture(leftFile);
    m_right = SkinPicture(rightFile);
    UpdateMargins();
    update();
}

int CEditField::ScaledWidth(const QPixmap& picture) const
{
    return picture.isNull() ? 0 : picture.width() * height() / std::max(1, picture.height());
}

void CEditField::UpdateMargins()
{
    setTextMargins(ScaledWidth(m_left), 0, ScaledWidth(m_right), 0);
}

void CEditField::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    UpdateMargins();
}

void CEditField::paintEvent(QPaintEvent* event)
{
    QLineEdit::paintEvent(event);
    if (m_left.isNull() && m_right.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const auto draw = [&](const QPixmap& picture, bool left)
    {
        if (picture.isNull())
            return;
        const int width = ScaledWidth(picture);
        painter.drawPixmap(QRect(left ? 0 : this->width() - width, 0, width, height()), picture);
    };
    draw(m_left, true);
    draw(m_right, false);
}
