// The edit panel for the current line of the record.
#include "app/Form1.h"

#include <QAction>
#include <QFrame>

void Form1::EditPanelOn() {
    EditPanel->show();
    mnuViewEdit->setChecked(true);
    double x = splitterX();
    double y = splitterY();
    SizeControls(x, y);
}

void Form1::EditPanelOff() {
    EditPanel->hide();
    mnuViewEdit->setChecked(false);
    double x = splitterX();
    double y = splitterY();
    SizeControls(x, y);
}

void Form1::editCurrentLine() {}
