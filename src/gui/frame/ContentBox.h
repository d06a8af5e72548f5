#pragma once
#include <QString>

class QLineEdit;

// The edit panel's content box, as text comes to it from elsewhere.
class ContentBox {
public:
    virtual ~ContentBox() = default;
    // Puts text into the box as a value editor wrote it: no edit of its own.
    virtual void showInContentBox(const QString& text) = 0;
    // Text put into the box at its caret (over its selection), as typed there.
    virtual void typeIntoContentBox(const QString& text) = 0;
    // The box while it is shown (the Edit menu's cut, copy and paste work in it), else nullptr.
    virtual QLineEdit* shownContentBox() const = 0;
};
