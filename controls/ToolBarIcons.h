#pragma once

#include "platform/draw/ImageList.h"

// The program's toolbar pictures (20 x 20), keyed as the windows use them:
// "new", "del", "edit", "goto", "import", "print", "search", "sort", "move",
// "net", "porzadkuj", "raporty", "szablony". Sources: resources/ICONS.md.
namespace ToolBarIcons {

Draw::ImageList buttons();

} // namespace ToolBarIcons
