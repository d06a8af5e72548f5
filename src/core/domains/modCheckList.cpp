#include "core/domains/modCheckList.h"

#include "core/domains/SchemeHosts.h"

namespace modCheckList {

void fillSchemaCatalogue(DomainCatalogue& catalogue, const QString& schemeServer) {
    const QString server = QStringLiteral("http://") + schemeServer;
    const QString second = QStringLiteral("http://") + SchemeHosts::secondSchemeHost;
    const QString stateA = QStringLiteral("http://") + SchemeHosts::stateHostA;
    struct Row {
        const char* longName;
        const char* shortName;
        QString tutorial;
    };
    const Row rows[] = {
        {"Dublin Core (DC)", "Dublin Core", server + QStringLiteral("/tutorial/DC.html")},
        {"Australian Government Locator Service 1.3(AGLS)", "AGLS1.3", server + QStringLiteral("/tutorial/AGLS.html")},
        {"Australian Government Locator Service 1.3(AGLS ACT)", "AGLS1.3 (ACT)",
         server + QStringLiteral("/tutorial/AGLS.html")},
        {"Australian Justice Sector", "JSMS", server + QStringLiteral("/tutorial/JSMS.html")},
        {"Center for Disease Control", "CDC", server + QStringLiteral("/tutorial/DC.html")},
        {"GILS-ARIZONA", "GILS-ARIZONA", server + QStringLiteral("/tutorial/GILS-Arizona.html")},
        {"GILS-MONTANA", "GILS-MONTANA", server + QStringLiteral("/tutorial/GILS-Montana.html")},
        {"GILS-OREGON", "GILS-OREGON", server + QStringLiteral("/tutorial/GILS-Oregon.html")},
        {"GILS-UTAH", "GILS-UTAH", stateA + QStringLiteral("/gils/tutorial.htm")},
        {"DublinCore-UTAH", "DC-UTAH", stateA + QStringLiteral("/gils/dctutorial.htm")},
        // The one tutorial address without "http://"; it is opened as written.
        {"Health Insite - Australia", "Health Insite - Australia",
         schemeServer + QStringLiteral("/tutorial.html")},
        {"New Zealand Government Locator Service (NZGLS)", "NZGLS",
         second + QStringLiteral("/schemes/NZGLS/NZGLS.html")},
        {"SA.DETE-Australia", "SA.DETE", second + QStringLiteral("/tutorial/SA-DETE.html")},
        {"NOHSC", "NOHSC", second + QStringLiteral("/tutorial/NOHSC.html")},
        {"SCORM", "SCORM", second + QStringLiteral("/tutorial/SCORM.html")},
    };
    int slot = 0;
    for (const Row& row : rows) {
        catalogue.schemaLongNames[slot] = QString::fromLatin1(row.longName);
        catalogue.schemaShortNames[slot] = QString::fromLatin1(row.shortName);
        catalogue.schemaTutorialURLs[slot] = row.tutorial;
        ++slot;
    }
    for (; slot < DomainCatalogue::kSlots; ++slot) {
        catalogue.schemaLongNames[slot].clear();
        catalogue.schemaShortNames[slot].clear();
        catalogue.schemaTutorialURLs[slot].clear();
    }
}

int catalogueRowCount(const DomainCatalogue& catalogue) {
    int n = 0;
    while (n < DomainCatalogue::kSlots && !catalogue.schemaShortNames[n].isEmpty()) ++n;
    return n;
}

QString getSchemaLongName(const DomainCatalogue& catalogue, const QString& shortName) {
    QString found;
    const int rows = catalogueRowCount(catalogue);
    for (int i = 0; i < rows; ++i) {
        if (catalogue.schemaShortNames[i] == shortName) found = catalogue.schemaLongNames[i];
    }
    return found;
}

}  // namespace modCheckList
