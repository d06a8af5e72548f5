#pragma once
#include "core/catalogues/ListTree.h"
#include "core/program/CommandDialogs.h"
#include "core/program/CommandDispatcher.h"
#include "core/program/CommandState.h"
#include "core/program/DomainState.h"
#include "core/program/Preferences.h"
#include "core/record/PageSource.h"
#include "core/record/Record.h"
#include "core/program/DocumentState.h"
#include "core/program/UserDialogs.h"
#include "platform/FileDialogs.h"
#include "platform/Process.h"
#include "platform/RegistryStore.h"

#include <QNetworkProxy>

#include <array>
#include <optional>

// The services of the system the program's state is composed with, where the program starts
// (or a test, which hands in scripted ones).
struct ProgramServices {
    UserDialogs& user;                    // message boxes, file dialogs, the wait cursor
    platform::ProcessStarter& processes;  // programs started without waiting
    QString settingsFile;                 // the settings store's file
    std::optional<QNetworkProxy> proxy;   // every transfer's proxy; none: the system's settings
};

// What the program knows while it runs: the scheme server, the preferences, the current
// domain, the command and macro state, the page's record and text, the two list trees (0 the
// lists, 1 the repository's catalogue) and which one is shown, the documents' state and the
// file dialog's settings. The application makes one, before its window and outliving it, and
// hands it to whatever needs it; it gets the dispatcher that carries its commands out, the
// command language's own windows and the system's services.
class ProgramContext {
public:
    ProgramContext(CommandDispatcher& dispatcher, CommandDialogs& dialogs, const ProgramServices& services)
        : dispatcher(dispatcher),
          dialogs(dialogs),
          user(services.user),
          processes(services.processes),
          settings(services.settingsFile),
          transferProxy(services.proxy) {}
    ProgramContext(const ProgramContext&) = delete;
    ProgramContext& operator=(const ProgramContext&) = delete;

    CommandDispatcher& dispatcher;
    CommandDialogs& dialogs;
    UserDialogs& user;
    platform::ProcessStarter& processes;
    // The settings store, which CRegSettings reads and writes.
    platform::RegistryStore settings;
    // The proxy every transfer control of the program goes through (none: the system's settings).
    const std::optional<QNetworkProxy> transferProxy;
    // The host (without "http://") of the scheme lists, templates, help pages and repository
    // scripts; start-up sets it (see SchemeHosts::defaultSchemeServer).
    QString schemeServer;
    Preferences preferences;
    DomainState domain;
    CommandState commands;
    MacroState macros;
    Record record;
    PageSource page;
    std::array<ListTree, 2> listTrees;
    // The tree shown (0 or 1) and the name of the list it holds (its root).
    int treeIndex = 0;
    QString rootName;
    DocumentState document;
    // The file dialog's settings, kept from one use to the next (its folder above all), and
    // the folder or path of the page file last opened and of the last batch file.
    platform::FileDialogRequest fileDialog;
    QString FilePath;
    QString BatchPath;
};
