#include "gui/record/frmAglsAgent.h"

#include "platform/OwnedDialog.h"

const QStringList& frmAglsAgent::jurisdictions() {
    static const QStringList list = {
        QStringLiteral("Commonwealth of Australia"), QStringLiteral("Australian Antarctic Territory"),
        QStringLiteral("Australian Capital Territory"), QStringLiteral("Indian Ocean Territories"),
        QStringLiteral("New South Wales"), QStringLiteral("Northern Territory"), QStringLiteral("Queensland"),
        QStringLiteral("South Australia"), QStringLiteral("Tasmania"), QStringLiteral("Victoria"),
        QStringLiteral("Western Australia"), QStringLiteral("Other")};
    return list;
}

const QStringList& frmAglsAgent::sectors() {
    static const QStringList list = {QStringLiteral("Government"), QStringLiteral("Non-Government")};
    return list;
}

frmAglsAgent::frmAglsAgent(ProgramContext& context, RecordDocument& document, ContentBox& content, QWidget* window)
    : AgentEditor(context, document, content, window, QStringLiteral("frmAglsAgent"), QStringLiteral("AGLS Agent Scheme")) {
    addTextField(QStringLiteral("personalName="), QStringLiteral("personalName"), QStringLiteral("Personal Name:"),
                 QStringLiteral("The Name of a Person"));
    addTextField(QStringLiteral("corporateName="), QStringLiteral("corporateName"), QStringLiteral("Corporate Name:"),
                 QStringLiteral("The name of an organisation."));
    addListField(QStringLiteral("jurisdiction="), QStringLiteral("jurisdiction"), QStringLiteral("Jurisdiction:"),
                 QStringLiteral("The legal jurisdiction of the agent."), jurisdictions());
    addTextField(QStringLiteral("contact="), QStringLiteral("contact"), QStringLiteral("Contact:"),
                 QStringLiteral("Contact details for the agent. Can include an official title. Typically includes a "
                                "phone number."));
    addTextField(QStringLiteral("address="), QStringLiteral("address"), QStringLiteral("Address:"),
                 QStringLiteral("Street or postal address for the agent."));
    addTextField(QStringLiteral("email="), QStringLiteral("email"), QStringLiteral("Email:"),
                 QStringLiteral("Email address for the agent."));
    addListField(QStringLiteral("sector="), QStringLiteral("sector"), QStringLiteral("Sector:"),
                 QStringLiteral("Indicates whether the creator is from the government or non-government sector: "),
                 sectors());
    finishLayout();
}

frmAglsAgent& frmAglsAgent::instance(ProgramContext& context, RecordDocument& document, ContentBox& content,
                                     QWidget* window) {
    return platform::ownedDialog<frmAglsAgent>(*window,
                                               [&] { return new frmAglsAgent(context, document, content, window); });
}
