#pragma once
#include <QString>
#include <QStringList>

// The web hosts the domain code names besides the scheme server (the context's
// schemeServer, which is always read afresh). Kept together so a deployment changes them in one place.
namespace SchemeHosts {

// The program's own scheme server, used unless the user names another.
inline const QString builtInSchemeServer = QStringLiteral("schemes.quorvantil.example");
// The scheme server's own fixed web host: the GILS templates name it directly.
inline const QString schemeWebHost = QStringLiteral("www.schemes.quorvantil.example");
// The second scheme host: NZGLS, SA.DETE, NOHSC and SCORM tutorials, and some lists and templates.
inline const QString secondSchemeHost = QStringLiteral("resources.quorvantil.example");
// State government host A: the Utah tutorials, templates and home pages.
inline const QString stateHostA = QStringLiteral("gils.state-government-a.example");
// State government host B: the Utah scheme lists.
inline const QString stateHostB = QStringLiteral("schemes.state-government-b.example");
// The state library host of the Montana subject list.
inline const QString stateLibraryHost = QStringLiteral("catalogue.state-library.example");
// The curriculum thesaurus site whose home page a "SCOT" scheme opens.
inline const QString curriculumThesaurusHost = QStringLiteral("thesaurus.curriculum.example");

// The scheme server start-up sets: $QUORVANTIL_SCHEME_SERVER when it names one (tests use
// 127.0.0.1:port), else the built-in host.
inline QString defaultSchemeServer() {
    const QString own = qEnvironmentVariable("QUORVANTIL_SCHEME_SERVER").trimmed();
    return own.isEmpty() ? builtInSchemeServer : own;
}

// The hosts the program carries with it (the scheme bundle): they never need a network.
inline QStringList ownHosts() {
    return {builtInSchemeServer, schemeWebHost, secondSchemeHost};
}

}  // namespace SchemeHosts
