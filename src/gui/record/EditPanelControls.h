#pragma once
#include <QComboBox>
#include <QLabel>
#include <QObject>
#include <QPushButton>
#include <QString>

// The edit panel's boxes are editable and never add what is typed to their lists.
inline QComboBox* editPanelBox(QWidget* parent, const QString& name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    return box;
}

inline QPushButton* editPanelButton(QWidget* parent, const QString& name, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

inline QLabel* editPanelLabel(QWidget* parent, const QString& name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

// A pick from a combo box's list is its click, not a change: the text the pick puts into
// the box must not run the change handler before the click handler sees it. A pick moves
// the box's current entry before its text changes; typing and programs setting the text
// leave the entry where it was.
class ListPicks : public QObject {
public:
    explicit ListPicks(QComboBox* box) : QObject(box), box_(box), index_(box->currentIndex()) {
        connect(box, &QComboBox::currentIndexChanged, this, [this](int index) { index_ = index; });
    }
    bool picking() const { return box_->currentIndex() != index_; }

private:
    QComboBox* box_;
    int index_;
};
