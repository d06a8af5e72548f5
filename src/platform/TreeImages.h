#pragma once

// The numbers of the hierarchy pane's node images, as the list code uses them.
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

}  // namespace platform
