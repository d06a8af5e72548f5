#pragma once
#include <array>
#include <cstddef>

class ListTreeView;
class ProgramContext;
class QObject;
class QWidget;

namespace platform {
class ModalRuns;
}  // namespace platform

// The hierarchy pane's two trees (0 for lists, 1 for the repository's catalogue), which its
// parts share, and whether a name is being edited in one of them.
class TreeViews {
public:
    // Makes them in `parent`, hidden; their drags run through `runs`.
    TreeViews(ProgramContext& context, platform::ModalRuns& runs, QWidget* parent);

    ListTreeView& view(int index) const { return *views_[std::size_t(index == 1 ? 1 : 0)]; }
    // The one showing the program's tree index.
    ListTreeView& active() const;
    const std::array<ListTreeView*, 2>& all() const { return views_; }
    // The object is one of them.
    bool holds(const QObject* object) const;

    void labelEditStarted() { labelEditing_ = true; }
    void forgetLabelEdit() { labelEditing_ = false; }
    // A rename still open in the tree shown ends, what was typed kept.
    void finishLabelEdit();

private:
    ProgramContext& context_;
    std::array<ListTreeView*, 2> views_{};
    bool labelEditing_ = false;
};
