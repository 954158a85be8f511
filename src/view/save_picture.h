// "Save Picture As": the working picture at full size, without any overlay,
// written as a 24-bit Windows bitmap file.
#pragma once

#include <vector>

#include "app/form1.h"

namespace plotvane {

// The file types of the save dialog in the current language: bitmaps, then
// every file.
std::vector<FileFilter> pictureFileFilters(const Form1& form);

// Click of mnuFileSave: asks for a file name (and whether to replace an
// existing file; No writes nothing), then writes the picture. The file is
// replaced through a temporary file beside it, so a failed write leaves the
// old file as it was; every failure is shown with the system's description.
void mnuFileSaveClick(Form1& form);

}  // namespace plotvane
