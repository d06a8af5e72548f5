#pragma once

class AddressBar;
class DocumentMenu;
class HelpPages;
class ListDocument;
class ListFiles;
class ListPane;
class Navigation;
class NavigationView;
class PageBrowser;
class ViewMarks;

// What the record pane and its parts ask of the other panes and the menus.
struct RecordNeighbours {
    NavigationView& navigationView;
    AddressBar& address;
    Navigation& navigation;
    PageBrowser& browser;
    ListDocument& listDocument;
    ListFiles& listFiles;
    ListPane& listPane;
    DocumentMenu& fileMenu;
    ViewMarks& viewMenu;
    HelpPages& help;
};
