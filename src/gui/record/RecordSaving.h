#pragma once
#include "gui/frame/RecordDocument.h"

class RecordEditPanel;
class ProgramContext;
class QAction;
struct RecordNeighbours;

// The record as a document: its save question and mark of unsaved changes (with the context
// menu's Cancel Editing item, which only an unsaved record offers), and writing it into a
// page or a batch.
class RecordSaving final : public RecordDocument {
public:
    RecordSaving(ProgramContext& context, const RecordNeighbours& around, QAction& cancelEditing, RecordEditPanel& editPanel);

    int saveHtmlCheck() override;
    int markHTMLmodifiedCheckList(const QString& reason) override;
    bool saveRecordWhereItBelongs(const std::function<bool()>& elsewhere) override;
    bool SaveAsHTML(const QString& path) override;
    bool SaveAsBatch(const QString& path) override;
    int filesWritten() const override { return filesWritten_; }
    QString MakeMetaIntoSource() const override;
    QString metadataAsHtml() const override;

private:
    ProgramContext& context;
    const RecordNeighbours& around;
    QAction& cancelEditing;
    RecordEditPanel& editPanel;
    int filesWritten_ = 0;
};
