#pragma once
#include "app/Form1.h"
#include "app/Preferences.h"
#include "app/modMetaMain.h"
#include "commands/modMTP.h"
#include "domains/modSchemas.h"
#include "support/Common.h"

#include <QAction>
#include <QStringList>

#include <memory>

namespace domain_tests {

inline const QString kServer = QStringLiteral("schemes.test.example");

// A main window carrying every menu item the domain code touches, and the program-wide
// domain state saved and restored around each test.
class DomainWorld {
public:
    static QStringList resourceItems() {
        return QStringLiteral("mnuResDC mnuRes17 mnuResAGLS1point3 mnuRes3 mnuResCDC mnuResCDCmenu mnuResEDNA mnuRes18 "
                              "mnuResGILSARIZONA mnuResGILSMontana mnuRes24 mnuResOregonSchema mnuRes20 mnuResGILSUTAH "
                              "mnuRes21 mnuResDCUTAH mnuRes22 mnuResNZGLS mnuRes19 mnuResDETE mnuRes23 mnuResNOHSC "
                              "mnuResNOHSCres")
            .split(QLatin1Char(' '));
    }
    static QStringList otherItems() {
        return QStringLiteral("mnuMaintMeta_2 mnuResDefault mnuFileCheckHarvest mnuFileSep01 mnuFileNew_4")
            .split(QLatin1Char(' '));
    }

    explicit DomainWorld(bool withWindow = true) {
        for (QString* value : {&modSchemas::defaultSchema, &modSchemas::linkRelLines, &modSchemas::rdfNamespaces,
                               &modSchemas::rdfPrefix, &Preferences::FileNewURL, &Preferences::Home})
            value->clear();
        modMetaMain::schemeServer = kServer;
        modMTP::setCommandInterceptor([this](const QString& command, modMTP::CommandOrigin) {
            commands.append(command);
            return true;
        });
        if (!withWindow) return;
        window_ = std::make_unique<Form1>();
        for (const QString& name : resourceItems() + otherItems()) {
            auto* item = new QAction(name, window_.get());
            item->setObjectName(name);
        }
    }
    ~DomainWorld() {
        modMTP::setCommandInterceptor(nullptr);
        window_.reset();
    }

    QAction* item(const QString& name) const { return window_->findChild<QAction*>(name); }
    bool visible(const QString& name) const { return item(name)->isVisible(); }
    QString caption(const QString& name) const { return item(name)->text(); }
    void setAllVisible(bool v) const {
        for (const QString& name : resourceItems() + otherItems()) item(name)->setVisible(v);
    }
    // The Resources items currently shown.
    QStringList shownResourceItems() const {
        QStringList shown;
        for (const QString& name : resourceItems())
            if (visible(name)) shown.append(name);
        return shown;
    }

    QStringList commands;

private:
    testing_support::KeptValues kept_{&modSchemas::defaultSchema, &modSchemas::linkRelLines, &modSchemas::rdfNamespaces,
                                      &modSchemas::rdfPrefix,     &Preferences::FileNewURL,  &Preferences::Home,
                                      &modMetaMain::schemeServer};
    std::unique_ptr<Form1> window_;
};

}  // namespace domain_tests
