#pragma once
#include "app/Form1.h"
#include "app/Preferences.h"
#include "app/modMetaMain.h"
#include "domains/modSchemas.h"
#include "support/CommandRecorder.h"
#include "support/Common.h"

#include <QAction>
#include <QMenu>

#include <memory>

namespace domain_tests {

// The program-wide domain state emptied and put back afterwards, commands recorded rather than
// run, and a main window (its Resources menu built with it) unless asked for none.
class DomainWorld {
public:
    // The Resources items that belong to a domain.
    static QStringList resourceItems() {
        return QStringLiteral(
                   "mnuResDC mnuRes17 mnuResAGLS1point3 mnuRes3 mnuResCDC mnuResCDCmenu mnuResEDNA mnuRes18 "
                   "mnuResGILSARIZONA mnuResGILSMontana mnuRes24 mnuResOregonSchema mnuRes20 mnuResGILSUTAH "
                   "mnuRes21 mnuResDCUTAH mnuRes22 mnuResNZGLS mnuRes19 mnuResDETE mnuRes23 mnuResNOHSC mnuResNOHSCres")
            .split(u' ');
    }

    explicit DomainWorld(bool withWindow = true) {
        for (QString* value : {&modSchemas::defaultSchema, &modSchemas::linkRelLines, &modSchemas::rdfNamespaces,
                               &modSchemas::rdfPrefix, &Preferences::FileNewURL, &Preferences::Home})
            value->clear();
        modMetaMain::schemeServer = QStringLiteral("schemes.test.example");
        if (withWindow) window = std::make_unique<Form1>();
    }

    QAction* item(const QString& name) const { return window->findChild<QAction*>(name); }
    bool visible(const QString& name) const { return item(name)->isVisible(); }
    void setAllVisible(bool v) const {
        for (const QString& name : resourceItems() + QStringList{"mnuResDefault", "mnuFileCheckHarvest"})
            item(name)->setVisible(v);
    }
    QStringList shownResourceItems() const {
        QStringList shown;
        for (const QString& name : resourceItems())
            if (visible(name)) shown.append(name);
        return shown;
    }
    QStringList& commands() { return recorder_.commands; }
    // Makes the domain current and applies it, or loads its scheme list and gives back the commands run.
    static void apply(const QString& domain) {
        modSchemas::defaultSchema = domain;
        modSchemas::applyDomainDefaults();
    }
    QStringList load(const QString& domain) {
        commands().clear();
        modSchemas::defaultSchema = domain;
        modSchemas::loadDomainScheme();
        return commands();
    }

private:
    testing_support::KeptValues kept_{&modSchemas::defaultSchema, &modSchemas::linkRelLines, &modSchemas::rdfNamespaces,
                                      &modSchemas::rdfPrefix,     &Preferences::FileNewURL,  &Preferences::Home,
                                      &modMetaMain::schemeServer};
    testing_support::CommandRecorder recorder_;

public:
    std::unique_ptr<Form1> window;
};

}  // namespace domain_tests
