#pragma once
#include <QMimeData>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <memory>

namespace platform {

// Drop effects as the drag handlers number them.
enum DropEffect : int { kDropNone = 0, kDropCopy = 1, kDropMove = 2 };
// State of a drag-over event.
enum DragOverState : int { kDragEnter = 0, kDragLeave = 1, kDragOver = 2 };

// The data of a drag: plain text and dropped files. A drop handler reads it; the drag
// source fills it when a drag starts from one of the program's lists or trees.
class DataObject {
public:
    // Empty data owned by this object (a drag that is starting).
    DataObject();
    // Data of a drag that reached a control; `source` is the program's own control the
    // drag started from, or nullptr when it came from elsewhere.
    explicit DataObject(const QMimeData* data, QObject* source = nullptr);
    ~DataObject();
    DataObject(const DataObject&) = delete;
    DataObject& operator=(const DataObject&) = delete;

    // The plain text; "" when there is none. A drop of local files carries no text
    // (their paths are in Files()), whatever text the file manager added.
    QString GetText() const;
    bool HasText() const { return !GetText().isEmpty(); }
    void SetText(const QString& text);
    // Paths of the dropped local files, in drop order, with "/" separators.
    QStringList Files() const;
    bool HasFiles() const { return !Files().isEmpty(); }
    QObject* Source() const { return source_; }

    const QMimeData* mimeData() const { return data_; }
    // Hands the data over (for starting a drag); this object is empty afterwards.
    QMimeData* takeMimeData();

private:
    std::unique_ptr<QMimeData> owned_;
    QPointer<const QMimeData> data_;
    QPointer<QObject> source_;
};

}  // namespace platform
