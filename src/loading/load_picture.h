// Loading a picture: from the open dialog, a drop on the window, the command
// line and Restore, all through LoadPictureFile.
#pragma once

#include <string>
#include <vector>

#include "app/form1.h"

namespace plotvane {

// The magnification that fits a W x H picture into the free room (twips):
// 1, halved while the picture is wider than the free width, then while it is
// taller than the free height, never below 1/64.
float fitZoom(int pictureWidth, int pictureHeight, int freeWidthTwips, int freeHeightTwips);

// Reads the file and, only when it is a good picture, makes it the working
// picture with path as picturePath: fitted, shown, selected whole, undo and
// the data list emptied. Otherwise shows message 5 and changes nothing.
bool LoadPictureFile(Form1& form, const std::string& path);

// The five choices of the open dialog and its title, in the current language.
FileDialogRequest openPictureDialog(const Form1& form);

void mnuFileOpenClick(Form1& form);
// Reads the current picture's file again; nothing before the first picture.
void mnuFileRedrawClick(Form1& form);
// A drop of files on the window: the first one loads, the others are ignored.
void formDropFiles(Form1& form, const std::vector<std::string>& paths);

// The picture commands, disabled until a picture is loaded.
void disablePictureCommands(Form1& form);

}  // namespace plotvane
