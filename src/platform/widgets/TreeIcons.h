#pragma once
#include "platform/TreeImages.h"

#include <QIcon>
#include <QList>

// The hierarchy pane's node images, drawn by the program itself.
namespace platform {

// Image 1..6; a null icon for any other number.
QIcon treeImage(int index);
// All six, image 1 first.
QList<QIcon> treeImages();

}  // namespace platform
