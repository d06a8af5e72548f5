#pragma once
#include "gui/frame/RecordLoading.h"

#include <QObject>
#include <QString>

class RecordEditPanel;
class ProgramContext;
class QTimer;
class RecordDocument;
class RecordView;
class WindowFrame;
struct EditGuards;
struct RecordNeighbours;

// Reading a page's metadata into the record when the browser opens it, and retrying a read
// parked while the transfer control was busy.
class PageLoading final : public QObject, public RecordLoading {
    Q_OBJECT
public:
    PageLoading(ProgramContext& context, WindowFrame& frame, const RecordNeighbours& around, EditGuards& guards,
                RecordDocument& document, RecordEditPanel& editPanel, RecordView& view);

    int LoadMetadataFromURL(const QString& location, bool keepText) override;
    PageLoad lastPageLoad() const override { return lastPageLoad_; }
    void forgetPageLoad() override { lastPageLoad_ = PageLoad::NotRead; }
    void setOpenRecordOnLoad(bool on) override { openRecordOnLoad_ = on; }
    void setFilling(bool on) override;
    // A read parked while the transfer control was busy; Timer1_Timer retries it, every two
    // seconds once the retries are started.
    void Timer1_Timer();
    void startRetries();

private:
    ProgramContext& context;
    WindowFrame& frame;
    const RecordNeighbours& around;
    EditGuards& guards;
    RecordDocument& document;
    RecordEditPanel& editPanel;
    RecordView& view;
    QTimer* Timer1 = nullptr;
    bool openRecordOnLoad_ = false;
    PageLoad lastPageLoad_ = PageLoad::NotRead;
    QString pendingURL_;
};
