#include "ui/translate_window.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTabBar>
#include <QTextEdit>

#include "ui/text_bridge.h"

namespace
{

// The mark lives on the widget itself, so a new widget at a freed address is still translated.
constexpr const char* kTranslatedProperty = "fmTranslated";

bool TakeTranslationMark(QWidget* widget)
{
    if (widget->property(kTranslatedProperty).toBool())
        return false;
    widget->setProperty(kTranslatedProperty, true);
    return true;
}

bool KeepsItsText(const QWidget* widget)
{
    return widget->property(kNoTranslateProperty).toBool() || qobject_cast<const QLineEdit*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget) || qobject_cast<const QProgressBar*>(widget) ||
           qobject_cast<const QAbstractItemView*>(widget) || qobject_cast<const QTextEdit*>(widget) ||
           qobject_cast<const QPlainTextEdit*>(widget);
}

// The translation to show for text, or a null string when the text stays as it is.
QString Translation(const QString& text)
{
    if (text.isEmpty() || text == QLatin1String("..."))
        return {};
    const QString result = LookupQText(text);
    return result.isEmpty() || result == text ? QString() : result;
}

void TranslateChild(QWidget* child)
{
    if (auto* combo = qobject_cast<QComboBox*>(child))
    {
        TranslateComboItems(combo);
        return;
    }
    if (auto* tabs = qobject_cast<QTabBar*>(child))
    {
        for (int i = 0; i < tabs->count(); ++i)
            if (const QString text = Translation(tabs->tabText(i)); !text.isNull())
                tabs->setTabText(i, text);
        return;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(child))
    {
        if (const QString text = Translation(button->text()); !text.isNull())
            button->setText(text);
    }
    else if (auto* label = qobject_cast<QLabel*>(child))
    {
        if (const QString text = Translation(label->text()); !text.isNull())
            label->setText(text);
    }
    else if (auto* group = qobject_cast<QGroupBox*>(child))
    {
        if (const QString text = Translation(group->title()); !text.isNull())
            group->setTitle(text);
    }
}

} // namespace

void TranslateWindow(QWidget* window)
{
    if (window == nullptr || !TakeTranslationMark(window))
        return;
    if (const QString title = Translation(window->windowTitle()); !title.isNull())
        window->setWindowTitle(title);
    // A control handed in on its own has its own text as its caption.
    if (!window->isWindow() && !KeepsItsText(window))
        TranslateChild(window);
    for (QWidget* child : window->findChildren<QWidget*>())
    {
        if (!TakeTranslationMark(child) || KeepsItsText(child))
            continue;
        TranslateChild(child);
    }
}

void TranslateComboItems(QComboBox* combo)
{
    if (combo == nullptr)
        return;
    const int selected = combo->currentIndex();
    const QSignalBlocker quiet(combo);
    for (int i = 0; i < combo->count(); ++i)
        combo->setItemText(i, LookupQText(combo->itemText(i)));
    if (selected >= 0 && selected < combo->count())
        combo->setCurrentIndex(selected);
}

void TranslateMenu(QMenu* menu)
{
    if (menu == nullptr)
        return;
    for (QAction* action : menu->actions())
    {
        if (action->isSeparator())
            continue;
        if (const QString text = Translation(action->text()); !text.isNull())
            action->setText(text);
        if (QMenu* submenu = action->menu())
            TranslateMenu(submenu);
    }
}
