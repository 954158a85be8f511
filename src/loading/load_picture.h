// Loading a picture: from the open dialog, the file pane, a drop on the
// window, the command line and Restore, all through LoadPictureFile.
#pragma once

#include <string>
#include <vector>

#include "app/form1.h"

namespace plotvane {

// Reads the file and, only when it is a good picture, makes it the working
// picture with path as picturePath: fitted, shown, selected whole, undo and
// the data list emptied. Otherwise shows message 5 and changes nothing.
// Refused (false, nothing shown) while a run reads the working picture.
bool LoadPictureFile(Form1& form, const std::string& path);

// LoadPictureFile for a picture the user named outside the file pane (the
// open dialog, a drop, the command line). A relative path is taken from the
// working directory and kept whole. Once the picture is loaded, its folder
// becomes the working directory, shown by the file pane, so that the pane and
// the next open dialog start there; a folder that cannot be entered leaves
// both where they were.
bool openPictureFrom(Form1& form, const std::string& path);

// The five choices of the open dialog and its title, in the current language;
// it opens in the folder of the picture shown, if any.
FileDialogRequest openPictureDialog(const Form1& form);

void mnuFileOpenClick(Form1& form);
// Reads the current picture's file again; nothing before the first picture.
void mnuFileRedrawClick(Form1& form);
// A drop of files on the window: the first one loads, the others are ignored.
void formDropFiles(Form1& form, const std::vector<std::string>& paths);

// Click of File1 on its (1-based) item: that folder becomes the working
// directory and the file is loaded.
void file1Click(Form1& form, int index);

}  // namespace plotvane
