#pragma once

#include "platform/draw/ImageList.h"

#include <QIcon>

// The small pictures of the people and duties windows, drawn in code.
namespace LudzieImages {

// The group tree's pictures: "1" a closed folder, "2" an open one (selected).
Draw::ImageList treeImages();
// The 16 x 16 pictures of a list row: a person, a duty.
QIcon rowIcon();
QIcon dutyIcon();

} // namespace LudzieImages
