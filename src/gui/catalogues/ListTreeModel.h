#pragma once
#include "core/catalogues/ListTree.h"

#include <QAbstractItemModel>
#include <QBrush>
#include <QFont>
#include <QIcon>
#include <QList>

// The list tree as a Qt model of one column: a node's text, its image (the selected image
// while it is the selected node), bold and drop highlight. The model edits nothing: label
// edits, drags and drops go to the pane, which changes the tree. While the tree is in a
// bulk change the model shows no rows, and the whole tree once it ends.
class ListTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit ListTreeModel(ListTree& tree, QObject* parent = nullptr);

    ListTree& tree() const { return tree_; }
    QModelIndex indexOf(ListTree::NodeId id) const;
    ListTree::NodeId idOf(const QModelIndex& index) const;

    void setImages(const QList<QIcon>& images) { images_ = images; }
    void setBoldFont(const QFont& font) { boldFont_ = font; }
    void setHighlight(const QBrush& background, const QBrush& text);

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    Qt::DropActions supportedDropActions() const override;

Q_SIGNALS:
    // The rows were made anew (after a reset): views open the open nodes again.
    void rowsRebuilt();

private:
    ListTree& tree_;
    QList<QIcon> images_;
    QFont boldFont_;
    QBrush highlightBackground_;
    QBrush highlightText_;
    ListTree::NodeId shownSelected_ = 0;
};
