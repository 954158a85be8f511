// Toolbar and graph-type images, drawn in code.
#pragma once

#include <QCursor>
#include <QIcon>
#include <string_view>

namespace plotvane {

// The image of a toolbar button by its key; an empty icon for spacers.
QIcon toolbarIcon(std::string_view key);

// The image of graph type 1 to 5.
QIcon graphTypeIcon(int type);

// The pointer of eraser mode: a small eraser whose tip is the hot spot.
QCursor eraserCursor();

}  // namespace plotvane
