#pragma once

class ContentBox;
class DocumentMenu;
class RecordDocument;
class RecordEditing;
class RecordLoading;
class RecordView;

// What the navigation pane's parts ask of the other panes and the menus.
struct NavigationNeighbours {
    RecordDocument& record;
    RecordLoading& recordLoading;
    RecordEditing& recordEditing;
    RecordView& recordView;
    ContentBox& contentBox;
    DocumentMenu& fileMenu;
};
