#include "app/Form1.h"

namespace {
Form1* first = nullptr;
}

Form1* Form1::firstMainWindow() {
    return first;
}

Form1::~Form1() {
    if (first == this) first = nullptr;
}

Form1::Form1(QWidget* parent) : QMainWindow(parent) {
    if (!first) first = this;
    setWindowTitle(QStringLiteral("The Orvane Quorvantile"));
    resize(1024, 720);
}
