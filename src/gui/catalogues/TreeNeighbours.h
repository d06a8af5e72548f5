#pragma once

class AddressBar;
class DocumentMenu;
class Navigation;
class PageBrowser;
class RecordDocument;
class RecordEditing;
class RecordLoading;
class RecordView;
class ViewMarks;

// What the hierarchy pane and its parts ask of the other panes and the menus.
struct TreeNeighbours {
    AddressBar& address;
    Navigation& navigation;
    PageBrowser& browser;
    RecordDocument& record;
    RecordLoading& recordLoading;
    RecordEditing& recordEditing;
    RecordView& recordView;
    DocumentMenu& fileMenu;
    ViewMarks& viewMenu;
};
