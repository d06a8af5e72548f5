#pragma once
#include "gui/record/AgentEditor.h"

// "AGLS Agent Scheme": an agent of seven fields.
class frmAglsAgent : public AgentEditor {
    Q_OBJECT
public:
    frmAglsAgent(ProgramContext& context, RecordDocument& document, ContentBox& content, QWidget* window);
    // The one editor of the window, created on first use.
    static frmAglsAgent& instance(ProgramContext& context, RecordDocument& document, ContentBox& content,
                                  QWidget* window);

    static const QStringList& jurisdictions();
    static const QStringList& sectors();
};
