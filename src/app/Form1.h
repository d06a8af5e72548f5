#pragma once
#include <QMainWindow>

// The main window. Its members are grouped by the part of the program that owns them;
// each is defined in that part's folder.
class Form1 : public QMainWindow {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // The main window created at start-up (not a window that only carries a
    // new-window request); nullptr before it exists.
    static Form1* firstMainWindow();
};
