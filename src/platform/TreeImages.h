#pragma once
#include <QIcon>
#include <QList>

// The images of the hierarchy pane's nodes, numbered as the list code uses them.
namespace platform {

enum TreeImage : int {
    kImageFolder = 1,          // catalogue folder, closed (also a catalogue command entry)
    kImageLink = 2,            // a link to a page
    kImageNewLink = 3,         // a link's selected form, for links the user inserted
    kImageOpenFolder = 4,      // catalogue folder, open (the folder's selected form)
    kImageSchemeFolder = 5,    // scheme list root and scheme folders
    kImageSchemeTerm = 6,      // a scheme term (also the scheme list root's selected form)
};
inline constexpr int kTreeImageCount = 6;

// Image 1..6, drawn by the program itself; a null icon for any other number.
QIcon treeImage(int index);
// All six, image 1 first.
QList<QIcon> treeImages();

}  // namespace platform
