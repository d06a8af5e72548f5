#include "app/Form1.h"

Form1::Form1(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("The Orvane Quorvantile"));
    resize(1024, 720);
}
