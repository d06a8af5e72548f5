#pragma once
#include "gui/record/AgentEditor.h"

// "ACTVers Scheme": an agent of a government body of the Australian Capital Territory.
class frmACTVers : public AgentEditor {
    Q_OBJECT
public:
    frmACTVers(ProgramContext& context, RecordDocument& document, ContentBox& content, QWidget* window);
    // The one editor of the window, created on first use.
    static frmACTVers& instance(ProgramContext& context, RecordDocument& document, ContentBox& content,
                                QWidget* window);

    // The 105 bodies the corporate name proposes, each exactly as it is stored.
    static const QStringList& bodies();
};
