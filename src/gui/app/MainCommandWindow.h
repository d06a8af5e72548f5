#pragma once
#include "core/program/CommandWindow.h"

#include <memory>

class AddressBar;
class ContentBox;
class DocumentMenu;
class HelpPages;
class ListDocument;
class ListFiles;
class ListPane;
class Navigation;
class NavigationView;
class PageBrowser;
class ProgramContext;
class RecordDocument;
class RecordEditing;
class RecordView;
class ViewMarks;
class WindowFrame;

// The panes and menus of the main window the command language works on.
struct MainWindowParts {
    RecordDocument& record;
    RecordView& recordView;
    RecordEditing& recordEditing;
    ContentBox& contentBox;
    AddressBar& address;
    Navigation& navigation;
    PageBrowser& browser;
    NavigationView& navigationView;
    ListDocument& list;
    ListFiles& listFiles;
    ListPane& listPane;
    DocumentMenu& fileMenu;
    ViewMarks& viewMenu;
    HelpPages& help;
};

// The main window as the command language sees it, answered by the window's panes and menus.
std::unique_ptr<CommandWindow> makeMainCommandWindow(ProgramContext& context, WindowFrame& frame,
                                                     const MainWindowParts& parts);
