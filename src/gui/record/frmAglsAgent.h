#pragma once
#include "gui/record/AgentEditor.h"

// "AGLS Agent Scheme": an agent of seven fields.
class frmAglsAgent : public AgentEditor {
    Q_OBJECT
public:
    frmAglsAgent(ProgramContext& context, RecordPane& pane);
    // The one editor of the program, created on first use.
    static frmAglsAgent& instance(ProgramContext& context, RecordPane& pane);

    static const QStringList& jurisdictions();
    static const QStringList& sectors();
};
