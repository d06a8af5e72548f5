#pragma once
#include "app/Form1.h"
#include "app/modMetaMain.h"
#include "support/ScriptedUi.h"

#include <memory>

namespace testing_support {

// A main window loaded as at start-up, on a private settings store and a fresh program state
// (with this scheme server, which the menus are built with).
class TestWindow {
public:
    explicit TestWindow(const QString& schemeServer = QString()) {
        context.schemeServer = schemeServer;
        form.reset(modMetaMain::openMainWindow(context));
    }
    Form1* operator->() const { return form.get(); }
    Form1& operator*() const { return *form; }

    FreshStore store;  // made first and dropped last: the window lives on it
    ProgramContext context;
    std::unique_ptr<Form1> form;
};

}  // namespace testing_support
