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
        return {
            QStringLiteral("mnuResDC"),          QStringLiteral("mnuRes17"),       QStringLiteral("mnuResAGLS1point3"),
            QStringLiteral("mnuRes3"),           QStringLiteral("mnuResCDC"),      QStringLiteral("mnuResCDCmenu"),
            QStringLiteral("mnuResEDNA"),        QStringLiteral("mnuRes18"),       QStringLiteral("mnuResGILSARIZONA"),
            QStringLiteral("mnuResGILSMontana"), QStringLiteral("mnuRes24"),       QStringLiteral("mnuResOregonSchema"),
            QStringLiteral("mnuRes20"),          QStringLiteral("mnuResGILSUTAH"), QStringLiteral("mnuRes21"),
            QStringLiteral("mnuResDCUTAH"),      QStringLiteral("mnuRes22"),       QStringLiteral("mnuResNZGLS"),
            QStringLiteral("mnuRes19"),          QStringLiteral("mnuResDETE"),     QStringLiteral("mnuRes23"),
            QStringLiteral("mnuResNOHSC"),       QStringLiteral("mnuResNOHSCres")};
    }
    static QStringList otherItems() {
        return {QStringLiteral("mnuMaintMeta_2"), QStringLiteral("mnuResDefault"),
                QStringLiteral("mnuFileCheckHarvest"), QStringLiteral("mnuFileSep01"), QStringLiteral("mnuFileNew_4")};
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
