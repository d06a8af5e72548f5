#pragma once
#include <QObject>
#include <QString>

// The state of the window's two documents, the record and the list: which of them holds
// unsaved changes, what the status bar says of it, the files they belong to and what the
// File menu's Save items offer to save. The status bar and the menu captions show it;
// nothing reads them back.
class DocumentState : public QObject {
    Q_OBJECT
public:
    enum class Document { None, Record, List };
    // What the list shown is, as it was read or started; the letters of its file's path or
    // of its root's tag (which holds the path of a list read from a file) never decide it.
    enum class ListKind { None, Catalogue, SchemeList, HarvestList, Channel };

    explicit DocumentState(QObject* parent = nullptr) : QObject(parent) {}

    // ---- the "Modified" mark ----------------------------------------------------------
    // The mark is on this document.
    bool modified(Document document) const { return modified_ && document_ == document; }
    // The mark is on either document.
    bool modified() const { return modified_; }
    // The document the status names ("Record", "List" or none).
    Document document() const { return document_; }
    QString documentName() const;
    // What the status shows: "Modified" while marked, else the last status text.
    QString modeText() const { return modified_ ? QStringLiteral("Modified") : status_; }

    // The document gets the mark (taking it from the other).
    void markModified(Document document);
    // The user chose not to save: the mark goes, the status still names the document.
    void dropMark();
    // The document was written: the mark goes and the status reads `status`.
    void markSaved(Document document, const QString& status = QStringLiteral("Ready"));
    // The status names this document from now on; the mark stays as it is.
    void nameDocument(Document document);
    // The status reads this text (a step under way, say); the mark goes.
    void setStatus(const QString& text);

    // ---- files --------------------------------------------------------------------------
    // The page file the record is written to; "" when the page is not a local file.
    QString currentHTMLFile() const { return currentHTMLFile_; }
    void setCurrentHTMLFile(const QString& path);
    // The list's file; "" when the list has none.
    QString TreePath() const { return treePath_; }
    void setTreePath(const QString& path);
    // The file the list shown was read from or last written to as the kind of list it is
    // (a catalogue exported as a channel keeps its catalogue's file); "" when none. Writing
    // over any other file that exists needs the user's word.
    QString listFile() const { return listFile_; }
    void setListFile(const QString& path) { listFile_ = path; }
    // The kind of list loaded: "indexes" (catalogues) or "schema" (scheme lists).
    QString listType() const { return listType_; }
    void setListType(const QString& type);
    ListKind listKind() const { return listKind_; }
    void setListKind(ListKind kind) { listKind_ = kind; }

    // ---- what File > Save and Save Subject Index offer --------------------------------
    QString saveCaption() const { return saveCaption_; }
    void setSaveCaption(const QString& caption);
    QString saveListCaption() const { return saveListCaption_; }
    void setSaveListCaption(const QString& caption);

Q_SIGNALS:
    void changed();

private:
    template <typename T>
    void set(T& field, const T& value);

    Document document_ = Document::None;
    bool modified_ = false;
    QString status_;
    QString currentHTMLFile_;
    QString treePath_;
    QString listFile_;
    QString listType_;
    ListKind listKind_ = ListKind::None;
    QString saveCaption_;
    QString saveListCaption_;
};
