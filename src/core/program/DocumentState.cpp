#include "core/program/DocumentState.h"

template <typename T>
void DocumentState::set(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Q_EMIT changed();
}

QString DocumentState::documentName() const {
    switch (document_) {
    case Document::Record: return QStringLiteral("Record");
    case Document::List: return QStringLiteral("List");
    case Document::None: break;
    }
    return QString();
}

void DocumentState::markModified(Document document) {
    if (modified_ && document_ == document) return;
    document_ = document;
    modified_ = true;
    Q_EMIT changed();
}

void DocumentState::dropMark() {
    setStatus(QString());
}

void DocumentState::markSaved(Document document, const QString& status) {
    document_ = document;
    modified_ = false;
    status_ = status;
    Q_EMIT changed();
}

void DocumentState::setStatus(const QString& text) {
    modified_ = false;
    status_ = text;
    Q_EMIT changed();
}

void DocumentState::nameDocument(Document document) {
    set(document_, document);
}

void DocumentState::setCurrentHTMLFile(const QString& path) {
    set(currentHTMLFile_, path);
}

void DocumentState::setTreePath(const QString& path) {
    set(treePath_, path);
}

void DocumentState::setListType(const QString& type) {
    set(listType_, type);
}

void DocumentState::setSaveCaption(const QString& caption) {
    set(saveCaption_, caption);
}

void DocumentState::setSaveListCaption(const QString& caption) {
    set(saveListCaption_, caption);
}
