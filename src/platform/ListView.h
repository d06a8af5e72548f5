#pragma once
#include "platform/ItemControl.h"

#include <QHash>
#include <QSet>
#include <QList>
#include <QPointer>
#include <QString>

#include <climits>

namespace platform {

class ListView;
class ListRow;

enum ListSortOrder : int { lvwAscending = 0, lvwDescending = 1 };

// One column of a report-style list. Widths are in twips.
class ColumnHeader {
public:
    int Index() const { return column_ + 1; }  // 1-based
    QString Text() const;
    void setText(const QString& text);
    int Width() const { return widthTwips_; }
    void setWidth(int twips);
    QString Tag() const { return tag_; }
    void setTag(const QString& tag) { tag_ = tag; }
    ListView* listView() const { return view_; }

private:
    friend class ListView;
    ColumnHeader(ListView* view, int column) : view_(view), column_(column) {}
    ListView* view_;
    int column_;
    int widthTwips_ = 0;
    QString tag_;
};

// One line of a list. The list owns it; a pointer stays valid until the line is
// removed or the list cleared (keep a ListItemRef to hold one across events).
class ListItem {
public:
    // 1-based position in insertion order: sorting the display never changes it;
    // removing a line shifts the later ones down by one.
    int Index() const;
    QString Text() const;  // column 0
    void setText(const QString& text);
    // Column `index` (1 = the second column); "" for a column never written.
    // Index 0 is the item text.
    QString SubItems(int index) const;
    void setSubItems(int index, const QString& text);
    QString Tag() const { return tag_; }
    void setTag(const QString& tag) { tag_ = tag; }
    bool Bold() const { return bold_; }
    void setBold(bool bold);
    bool Selected() const;
    // In a single-selection list, selecting a line deselects the others and makes it
    // the selected item.
    void setSelected(bool selected);
    void EnsureVisible();
    // A number that stays with this line for the life of the list.
    quint64 Id() const { return id_; }
    ListView* listView() const { return view_; }

private:
    friend class ListView;
    friend class ListRow;
    ListItem(ListView* view, quint64 id) : view_(view), id_(id) {}
    ListView* view_;
    ListRow* row_ = nullptr;
    quint64 id_;
    int index_ = 0;  // cached; see ListView::staleFrom_
    QString tag_;
    bool bold_ = false;
};

// Holds on to a line: get() answers nullptr once the line has been removed.
class ListItemRef {
public:
    ListItemRef() = default;
    ListItemRef(ListItem* item);  // NOLINT: converting on purpose
    ListItem* get() const;
    explicit operator bool() const { return get() != nullptr; }

private:
    QPointer<ListView> view_;
    quint64 id_ = 0;
};

// A report-style list view: columns with headers, lines of text with sub-items. The
// lines are kept in insertion order beside what is displayed, so indices mean the
// same thing whether or not the user sorted the display by a column.
class ListView : public ItemControl {
    Q_OBJECT
public:
    static constexpr int kDefaultColumnWidth = 1440;  // twips

    explicit ListView(QWidget* parent = nullptr);
    ~ListView() override;

    // ---- columns -----------------------------------------------------------------
    ColumnHeader* addColumnHeader(const QString& text, int widthTwips = kDefaultColumnWidth);
    int ColumnHeaderCount() const { return static_cast<int>(columns_.size()); }
    // 1-based; nullptr outside 1..ColumnHeaderCount().
    ColumnHeader* ColumnHeaders(int index) const;

    // ---- lines, in insertion order ------------------------------------------------
    int Count() const { return static_cast<int>(items_.size()); }
    // 1-based; nullptr outside 1..Count().
    ListItem* Item(int index) const;
    // Inserts a line at `index` (the line there and all after it move down one), or at
    // the end when index is 0 or outside 1..Count(). On screen it goes just above the
    // line it displaced (or last); in a Sorted list, where the sort puts it.
    ListItem* Add(int index = 0, const QString& text = QString());
    // false (and nothing removed) outside 1..Count() or for another list's line.
    bool Remove(int index);
    bool Remove(ListItem* item);
    void Clear();
    // The lines whose text is this one, ignoring case, in insertion order.
    QList<ListItem*> ItemsWithText(const QString& text) const;
    // The lines shown bold, without looking at the others.
    QList<ListItem*> BoldItems() const;
    // The line with that Id(), or nullptr once it is gone.
    ListItem* ItemById(quint64 id) const { return byId_.value(id, nullptr); }

    // ---- display order --------------------------------------------------------------
    // 1-based row on screen (differs from Index() after a sort); 0 for nullptr.
    int DisplayPosition(const ListItem* item) const;
    ListItem* ItemAtDisplayPosition(int position) const;

    // ---- selection and highlight ------------------------------------------------------
    // The current line when it is selected, else the first selected line on screen,
    // else nullptr.
    ListItem* SelectedItem() const;
    // Selects only this line and makes it current; nullptr selects nothing.
    void setSelectedItem(ListItem* item);
    // The line drawn as a drop target (nullptr: none).
    ListItem* DropHighlight() const;
    void setDropHighlight(ListItem* item);

    // ---- hit tests (twips from the control's top left corner) -------------------------
    // The line under the point; without FullRowSelect only its first column counts.
    ListItem* HitTest(int x, int y) const;
    struct SubItemHit {
        ListItem* item = nullptr;
        int column = -1;  // 0-based
    };
    // Line and 0-based column under the point; {nullptr, -1} off the lines and columns.
    SubItemHit SubItemHitTest(int x, int y) const;

    // ---- sorting: display only; Index() stays -----------------------------------------
    // Turning Sorted on sorts the display by SortKey; while it is on, changing the key
    // or order sorts again and added lines go where the sort puts them. Turning it off
    // leaves the display as it is. Texts compare ignoring case.
    bool Sorted() const { return sorted_; }
    void setSorted(bool sorted);
    int SortKey() const { return sortKey_; }  // 0-based column
    void setSortKey(int column);
    int SortOrder() const { return sortOrder_; }  // lvwAscending or lvwDescending
    void setSortOrder(int order);

    // ---- appearance ---------------------------------------------------------------------
    bool FullRowSelect() const { return fullRowSelect_; }
    void setFullRowSelect(bool on);
    bool MultiSelect() const { return multiSelect_; }
    void setMultiSelect(bool on);

Q_SIGNALS:
    // A left click on a line (not raised by selecting a line from code).
    void ItemClick(platform::ListItem* Item);
    void ColumnClick(platform::ColumnHeader* ColumnHeader);

protected:
    void itemClicked(QTreeWidgetItem* item) override;

private:
    friend class ListItem;
    friend class ListRow;
    friend class ColumnHeader;
    static ListItem* ownerOf(QTreeWidgetItem* row);
    void renumber() const;
    void destroy(ListItem* item);
    int sortedPosition(const QString& keyText) const;
    void sortNow();
    void setColumnWidthTwips(int column, int twips);

    QList<ColumnHeader*> columns_;
    QList<ListItem*> items_;
    QHash<quint64, ListItem*> byId_;
    QSet<quint64> boldIds_;
    // The lines by their text, ignoring case, so a line is found without a walk of them all.
    QHash<QString, QList<quint64>> byText_;
    static QString textKey(const QString& text);
    void retext(ListItem* item, const QString& old);
    quint64 nextId_ = 1;
    quint64 dropHighlightId_ = 0;
    // Cached indices are right for every position below this one.
    mutable int staleFrom_ = INT_MAX;
    bool sorted_ = false;
    int sortKey_ = 0;
    int sortOrder_ = lvwAscending;
    bool fullRowSelect_ = false;
    bool multiSelect_ = false;
    bool settingWidth_ = false;
};

}  // namespace platform
