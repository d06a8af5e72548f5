#pragma once
#include "record/AgentEditor.h"

// "AGLS Agent Scheme": an agent of seven fields.
class frmAglsAgent : public AgentEditor {
    Q_OBJECT
public:
    explicit frmAglsAgent(Form1* form);
    // The one editor of the program, created on first use.
    static frmAglsAgent& instance(Form1* form);

    static const QStringList& jurisdictions();
    static const QStringList& sectors();

    QLineEdit* personalName;
    QLineEdit* corporateName;
    QComboBox* jurisdiction;
    QLineEdit* contact;
    QLineEdit* address;
    QLineEdit* email;
    QComboBox* sector;
};
