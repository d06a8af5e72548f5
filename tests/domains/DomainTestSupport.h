#pragma once
#include "app/Form1.h"
#include "app/Preferences.h"
#include "app/modMetaMain.h"
#include "domains/modSchemas.h"
#include "support/CommandRecorder.h"
#include "support/Common.h"

#include <QAction>

#include <memory>

namespace domain_tests {

inline const QString kServer = QStringLiteral("schemes.test.example");

// A main window carrying every menu item the domain code touches; the program-wide domain
// state is emptied and put back afterwards, and commands are recorded, not run.
class DomainWorld {
public:
    static QStringList resourceItems() {
        return QStringLiteral(
                   "mnuResDC mnuRes17 mnuResAGLS1point3 mnuRes3 mnuResCDC mnuResCDCmenu mnuResEDNA mnuRes18 "
                   "mnuResGILSARIZONA mnuResGILSMontana mnuRes24 mnuResOregonSchema mnuRes20 mnuResGILSUTAH "
                   "mnuRes21 mnuResDCUTAH mnuRes22 mnuResNZGLS mnuRes19 mnuResDETE mnuRes23 mnuResNOHSC "
                   "mnuResNOHSCres")
            .split(QLatin1Char(' '));
    }
    static QStringList otherItems() { return {"mnuResDefault", "mnuFileCheckHarvest", "mnuFileSep01", "mnuFileNew_4"}; }

    explicit DomainWorld(bool withWindow = true) {
        for (QString* value : {&modSchemas::defaultSchema, &modSchemas::linkRelLines, &modSchemas::rdfNamespaces,
                               &modSchemas::rdfPrefix, &Preferences::FileNewURL, &Preferences::Home})
            value->clear();
        modMetaMain::schemeServer = kServer;
        if (!withWindow) return;
        window_ = std::make_unique<Form1>();
        for (const QString& name : resourceItems() + otherItems())
            (new QAction(name, window_.get()))->setObjectName(name);
    }

    QAction* item(const QString& name) const { return window_->findChild<QAction*>(name); }
    bool visible(const QString& name) const { return item(name)->isVisible(); }
    void setAllVisible(bool v) const {
        for (const QString& name : resourceItems() + otherItems()) item(name)->setVisible(v);
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
    std::unique_ptr<Form1> window_;
};

}  // namespace domain_tests
