#include "gui/commands/MacroEditorLists.h"

#include <QGuiApplication>
#include <QListWidget>
#include <QScreen>
#include <QSet>

namespace modMacros {

bool selectListItem(QListWidget& list, const QString& text) {
    for (int row = 0; row < list.count(); ++row) {
        if (list.item(row)->text() == text) {
            list.setCurrentRow(row);
            return true;
        }
    }
    list.setCurrentRow(list.count() - 1);
    return false;
}

void removeDuplicateItems(QListWidget& list) {
    QStringList unique;
    QSet<QString> seen;
    for (int row = 0; row < list.count(); ++row) {
        const QString text = list.item(row)->text();
        if (!seen.contains(text)) {
            seen.insert(text);
            unique << text;
        }
    }
    if (unique.size() == list.count()) return;
    list.clear();
    list.addItems(unique);
}

void setListHorizontalExtent(QListWidget& list) {
    list.setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void centerForm(QWidget& form) {
    const QScreen* screen = form.screen() ? form.screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame = form.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    form.move(frame.topLeft());
}

}  // namespace modMacros
