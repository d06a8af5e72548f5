// Starting navigations of the browser pane.
#include "app/Form1.h"

#include "app/Preferences.h"

#include <QComboBox>

void Form1::LoadURL() {
    navigateBrowser(URL->currentText());
}

void Form1::LoadURLFromLocation() {
    navArmed = true;
    LoadURL();
}

void Form1::GoHome() {
    URL->setEditText(Preferences::Home);
    navArmed = true;
    LoadURL();
}
