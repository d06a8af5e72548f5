#pragma once

// The View menu as the panes ask it: Metadata View and Tree View shown or hidden as their
// items do, and the marks of the Edit and Tree View items.
class ViewMarks {
public:
    virtual ~ViewMarks() = default;
    virtual void mnuViewQuorvantile_Click() = 0;
    virtual void mnuViewTreeView_Click() = 0;
    virtual bool treeViewChecked() const = 0;
    virtual void setTreeViewChecked(bool on) = 0;
    virtual void setEditViewChecked(bool on) = 0;
};
