#include "gui/record/frmACTVers.h"

#include "platform/OwnedDialog.h"

#include <QLabel>

const QStringList& frmACTVers::bodies() {
    static const QStringList list = [] {
        static const char* const names[] = {
            "Accreditation and Registration Council ",
            "ACT Credit Tribunal",
            "ACT Electoral Commission",
            "ACT Fire Brigade",
            "ACT Gambling and Racing Commission",
            "ACT Health and Community Care Service",
            "ACT Health Promotion Board",
            "ACT Heritage Council",
            "ACT Human Rights Office (on behalf of Discrimination Commissioner)",
            "ACT Insurance Authority",
            "ACT Schools Authority",
            "ACTEW China Pty Ltd",
            "ACTEW Corporation Limited",
            "ACTEW Distribution Limited",
            "ACTEW Investments Pty Ltd",
            "ACTEW Retail Limited",
            "Action Authority",
            "ACTTAB Limited",
            "Administrative Appeals Tribunal",
            "Agents Board of the ACT",
            "Architects Board",
            "Auditor-General",
            "Augmented Electoral Commission",
            "Australian International Hotel School",
            "Board of Senior Secondary Studies (Year 11/12 Assessment and Certification)",
            "Bush Fire Council",
            "Canberra Institute of Technology",
            "Canberra Tourism and Events Corporation",
            "Chief Health Officer",
            "Chief Minister 's Department",
            "Chiropractors and Osteopaths Board",
            "Cleaning Industry Long Service Leave Board",
            "Commissioner for Australian Capital Territory Revenue",
            "Commissioner for Land and Planning",
            "Commissioner for Public Administration",
            "Commissioner for Surveys",
            "Commissioner for the Environment",
            "Community Advocate",
            "Construction Industry Long Service Leave Board",
            "Coroners Court",
            "Cultural Facilities Corporation",
            "Dental Board",
            "Dental Technicians and Dental Prosthetists Board",
            "Department of Disability, Housing and Community Services",
            "Department of Education, Youth and Family Services",
            "Department of Health and Community Care",
            "Department of Justice and Community Safety",
            "Department of Treasury",
            "Department of Urban Services",
            "Director of Public Prosecutions",
            "Director of Territory Records",
            "Discrimination Tribunal",
            "Domestic Violence Prevention Council",
            "Electrical Licensing Board",
            "Emergency Management Committee (Emergency Services Bureau)",
            "Essential Services Consumer Council",
            "Executive",
            "Exhibition Park in Canberra",
            "Fire Brigade Appeal Board",
            "Government Procurement Board",
            "Government Solicitor",
            "Guardianship and Management of Property Tribunal",
            "Gungahlin Development Authority",
            "Health and Community Care Service Board",
            "Health Complaints Unit (Community and Health Services Complaints Commissioner)",
            "Independent Competition and Regulatory Commission",
            "Kingston Foreshore Development Authority",
            "Legal Aid Commission (ACT)",
            "Legal Practitioners Admission Board",
            "Legislative Assembly Secretariat",
            "Liquor Licensing Board",
            "Magistrates Court",
            "Medical Board",
            "Mental Health Tribunal",
            "Nominal Defendant",
            "Nurses Board",
            "Occupational Health and Safety Commissioner (ACT Workcover)",
            "Occupational Health and Safety Council",
            "Official Visitor",
            "Ombudsman",
            "Optometrists Board",
            "Pharmacy Board",
            "Physiotherapists Board",
            "Plumbers, Drainers and Gasfitters Board",
            "Podiatrists Board",
            "Psychologists Board",
            "Public Trustee Investment Board",
            "Racing Appeals Tribunal",
            "Radiation Council",
            "Registrar of Agents",
            "Registrar of Schools",
            "Registrar -General",
            "Remuneration Tribunal",
            "Residential Tenancies Tribunal",
            "Stadiums Authority",
            "Supreme Court",
            "The Building and Construction Industry Training Fund Board",
            "Totalcare Industries Limited",
            "TransACT Carrier Pty Ltd",
            "Trustees of the Canberra Public Cemeteries",
            "University Of Canberra",
            "Veterinary Surgeon 's Board",
            "Victims of Crime Coordinator",
            "Vocational Education and Training Authority",
            "Workers Compensation Supplementation Fund",
        };
        QStringList out;
        for (const char* name : names) out << QString::fromUtf8(name);
        return out;
    }();
    return list;
}

frmACTVers::frmACTVers(ProgramContext& context, RecordDocument& document, ContentBox& content, QWidget* window)
    : AgentEditor(context, document, content, window, QStringLiteral("frmACTVers"), QStringLiteral("ACTVers Scheme")) {
    auto* note = new QLabel(QStringLiteral("ActVers is used by authors of AGLS metadata in the ACT. Where possible please "
                                           "use a Corporate Name from the drop down list."),
                            this);
    note->setObjectName(QStringLiteral("note"));
    addTextField(QStringLiteral("personalName="), QStringLiteral("personalName"), QStringLiteral("Personal Name:"),
                 QStringLiteral("The Name of a Person"));
    addListField(QStringLiteral("corporateName="), QStringLiteral("corporateName"), QStringLiteral("Corporate Name:"),
                 QString(), bodies());
    addTextField(QStringLiteral("sectionName="), QStringLiteral("sectionName"), QStringLiteral("Section Name:"),
                 QStringLiteral("The section, branch or unit of the body."));
    addTextField(QStringLiteral("positionTitle="), QStringLiteral("positionTitle"), QStringLiteral("Position Title:"),
                 QStringLiteral("The official title of the agent's position."));
    finishLayout(note);
}

frmACTVers& frmACTVers::instance(ProgramContext& context, RecordDocument& document, ContentBox& content,
                                 QWidget* window) {
    return platform::ownedDialog<frmACTVers>(*window,
                                             [&] { return new frmACTVers(context, document, content, window); });
}
