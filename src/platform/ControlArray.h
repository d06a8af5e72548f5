#pragma once
#include <QMap>

// A control array: elements addressed by the index the program gives them (which may
// start at 0 or 1 and may have gaps).
template <class T>
class ControlArray {
public:
    T* operator()(int index) const { return items_.value(index, nullptr); }
    void set(int index, T* item) { items_.insert(index, item); }
    bool contains(int index) const { return items_.contains(index); }
    auto begin() const { return items_.cbegin(); }
    auto end() const { return items_.cend(); }

private:
    QMap<int, T*> items_;
};
