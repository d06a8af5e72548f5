#pragma once

class ListTree;
class QObject;

// The hierarchy pane's trees as the other parts of the window show and ask them.
class ListPane {
public:
    virtual ~ListPane() = default;
    // The tree of that index (0 lists, 1 the repository's catalogue) shown or hidden; the
    // active one's state.
    virtual void showListPane(int index, bool shown) = 0;
    // The list tree shown (of the two, by the program's tree index).
    virtual ListTree& activeTree() const = 0;
    virtual bool activeTreeVisible() const = 0;
    virtual void setActiveTreeVisible(bool shown) = 0;
    // The list tree one of the trees' panes shows (nullptr for anything else); the focus in
    // one of them.
    virtual ListTree* treeShownBy(const QObject* object) const = 0;
    virtual bool holdsFocus() const = 0;
    // Painting held while a batch runs.
    virtual void hold(bool on) = 0;
};
