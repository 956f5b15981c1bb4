#include "ui/translate_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QtTest>

#include "common/temp_dir.h"
#include "support/language.h"

class TranslateWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        WriteTextFile(m_directory.Path() + "Languages/Language.ini", "[LCID]\n1033=English\n");
        WriteTextFile(m_directory.Path() + "Languages/English.lng", "[ProgramOutStr]\n"
                                                                    "device status=Status of devices\n"
                                                                    "search=Find\n"
                                                                    "apply=Use\n"
                                                                    "first=One\n"
                                                                    "second=Two\n"
                                                                    "general=Main\n"
                                                                    "open=Open it\n"
                                                                    "hidden=[~NullInfoZelto~]\n"
                                                                    "...=Dots\n");
        InitLanguage(m_directory.Path(), 1033);
    }

    void translatesTextsButNotEditableFields()
    {
        QDialog dialog;
        dialog.setWindowTitle("Device status");
        auto* label = new QLabel("Search", &dialog);
        auto* button = new QPushButton("Apply", &dialog);
        auto* dots = new QLabel("...", &dialog);
        auto* edit = new QLineEdit("Search", &dialog);
        auto* spin = new QSpinBox(&dialog);
        spin->setSuffix("Search");
        auto* check = new QCheckBox("Hidden", &dialog);
        auto* address = new QLabel("Search", &dialog);
        address->setProperty(kNoTranslateProperty, true);
        auto* tabs = new QTabWidget(&dialog);
        tabs->addTab(new QWidget, "General");

        TranslateWindow(&dialog);
        QCOMPARE(dialog.windowTitle(), QString("Status of devices"));
        QCOMPARE(label->text(), QString("Find"));
        QCOMPARE(button->text(), QString("Use"));
        QCOMPARE(dots->text(), QString("..."));
        QCOMPARE(edit->text(), QString("Search"));
        QCOMPARE(spin->suffix(), QString("Search"));
        QCOMPARE(address->text(), QString("Search"));
        QCOMPARE(tabs->tabText(0), QString("Main"));
        QCOMPARE(check->text(), QString("Hidden")); // an empty translation leaves a child's text alone

        // Each widget once: a second pass over a re-labelled child changes nothing.
        label->setText("Apply");
        TranslateWindow(&dialog);
        QCOMPARE(label->text(), QString("Apply"));
        // A window is translated once; a child added later is translated on its own.
        auto* later = new QLabel("Search", &dialog);
        TranslateWindow(&dialog);
        QCOMPARE(later->text(), QString("Search"));
        TranslateWindow(later);
        QCOMPARE(later->text(), QString("Find"));
    }

    void comboKeepsSelectionAndItemData()
    {
        QComboBox combo;
        combo.addItem("First", 10);
        combo.addItem("Second", 20);
        combo.addItem("Other", 30);
        combo.setCurrentIndex(1);
        TranslateComboItems(&combo);
        QCOMPARE(combo.itemText(0), QString("One"));
        QCOMPARE(combo.itemText(1), QString("Two"));
        QCOMPARE(combo.itemText(2), QString("Other"));
        QCOMPARE(combo.currentIndex(), 1);
        QCOMPARE(combo.itemData(1).toInt(), 20);
    }

    void menuAndSubmenus()
    {
        QMenu menu;
        menu.addAction("Open");
        menu.addSeparator();
        QMenu* sub = menu.addMenu("Search");
        sub->addAction("Apply");
        TranslateMenu(&menu);
        QCOMPARE(menu.actions().at(0)->text(), QString("Open it"));
        QCOMPARE(sub->title(), QString("Find"));
        QCOMPARE(sub->actions().at(0)->text(), QString("Use"));
    }

private:
    CTempDir m_directory;
};

QTEST_MAIN(TranslateWindowTest)
#include "translate_window_test.moc"
