#pragma once
#include <QString>
#include <QStringList>

// What the edit panel's content field offers for an encoding scheme, and where the
// scheme's value list comes from: plain decisions over text, for the window to carry out.
namespace SchemeRules {

// ---- the content field ------------------------------------------------------------------

// The schemes whose value list a "Load Scheme" press can always fetch.
bool schemeHasLoadButton(const QString& scheme);
// ISO 8601 dates and DCMI periods get the date editor.
bool isDateScheme(const QString& scheme);

// What the current domain does with the content field for a scheme. A list is shown in the
// value list box in place of the content field.
struct ContentField {
    bool loadButton = false;  // scheme mode: "Load Scheme" shown beside the field
    bool valueList = false;
    QStringList items;        // the value list's entries, in order
};
ContentField contentFieldFor(const QString& domain, const QString& scheme);

// The date editor's three boxes for a content. Text the boxes cannot show as it stands
// (not a date the boxes would write back unchanged) stays in the plain content field.
struct DateParts {
    bool inBoxes = false;
    QString year, month, day;
};
DateParts splitDate(const QString& content);
// What the three boxes write into the line: "year-month-day", as far as the parts go
// without a gap (a day without a month is left out).
QString joinDate(const QString& year, const QString& month, const QString& day);

// ---- loading a scheme's value list ------------------------------------------------------

// A scheme name that may become part of a command: letters, digits, blanks, "_", "-", "."
// and "%", at least one letter or digit, no longer than a file name may be.
bool isCommandSafeName(const QString& name);

// The repository's scheme list ("a|b|c") holds the name; case is ignored, empty names never match.
bool repositoryServes(const QString& repositorySchemes, const QString& name);
// The command that fetches a repository scheme, built from the Save Record command
// ("... cgisend= ... .kqb"); "" when that command names no ".kqb".
QString repositorySchemeCommand(const QString& saveRecordMacro, const QString& name);

enum class SchemeAction {
    NoMatch,
    CurriculumThesaurus,  // the thesaurus site's home page in the help window
    AglsAgent,            // the structured-value editors
    ActVers,
    TagsMenu,             // the TAGS submenu of Metadata Resources, at the mouse
    List,                 // a scheme list: "mtp://url=" and the address
};
struct SchemeRule {
    SchemeAction action = SchemeAction::NoMatch;
    QString address;  // host and path of a list or page
};
// The first rule of the built-in table that matches the name (already stripped of "-" and
// ".") in the current domain. The Health Thesaurus rule sends the name as "Health%20Thesaurus".
SchemeRule schemeRuleFor(const QString& name, const QString& domain, const QString& schemeServer);

}  // namespace SchemeRules
