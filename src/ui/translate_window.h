// Passing whole windows, combo boxes and menus through the language lookup.
#pragma once

class QComboBox;
class QMenu;
class QWidget;

// Widgets with this property set to true are never translated (address fields and the like).
constexpr const char* kNoTranslateProperty = "fmNoTranslate";

// The window's title and every descendant's text, each widget once. Input and data widgets
// (edit fields, spin boxes, progress bars, list, tree and table views) keep their text.
void TranslateWindow(QWidget* window);

// Every item of the combo box; the selection and each item's data stay.
void TranslateComboItems(QComboBox* combo);

// Every item of the menu and its submenus.
void TranslateMenu(QMenu* menu);
