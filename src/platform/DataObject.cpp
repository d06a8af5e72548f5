#include "platform/DataObject.h"

#include <QMimeData>
#include <QUrl>

namespace platform {

DataObject::DataObject() : owned_(std::make_unique<QMimeData>()), data_(owned_.get()) {}

DataObject::DataObject(const QMimeData* data, QObject* source) : data_(data), source_(source) {}

DataObject::~DataObject() = default;

QString DataObject::GetText() const {
    if (!data_ || !data_->hasText()) return {};
    if (!Files().isEmpty()) return {};
    return data_->text();
}

void DataObject::SetText(const QString& text) {
    if (!owned_) {
        owned_ = std::make_unique<QMimeData>();
        data_ = owned_.get();
    }
    owned_->setText(text);
}

QStringList DataObject::Files() const {
    QStringList files;
    if (!data_ || !data_->hasUrls()) return files;
    const QList<QUrl> urls = data_->urls();
    for (const QUrl& url : urls)
        if (url.isLocalFile()) files.append(url.toLocalFile());
    return files;
}

QMimeData* DataObject::takeMimeData() {
    if (!owned_) owned_ = std::make_unique<QMimeData>();
    QMimeData* data = owned_.release();
    data_ = nullptr;
    return data;
}

}  // namespace platform
