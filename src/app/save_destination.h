// The save dialog and the question about an existing file, shared by the
// commands that write a file the user names.
#pragma once

#include <optional>
#include <string>

#include "app/form1.h"

namespace plotvane {

// What became of a file already at the chosen name.
enum class ExistingFile {
  None,     // nothing there
  Replace,  // Yes to the overwrite question
  Keep,     // No to the overwrite question
};

struct SaveDestination {
  std::string path;  // as typed in the dialog
  int filterIndex = 1;
  ExistingFile existing = ExistingFile::None;
};

// Shows the save dialog, opening on filterIndex, until the user settles a
// name: for an existing file message 0 is asked (Yes, No, Cancel), and
// Cancel shows the dialog again with an empty name. filterIndex follows the
// filter the user picked (when it is one of the request's). Nothing when
// the dialog is cancelled or the name cannot be checked; the check's error
// is shown with the exclamation icon.
std::optional<SaveDestination> askSaveDestination(Form1& form, const FileDialogRequest& request,
                                                  int& filterIndex);

// The system's description of a file error with the exclamation icon.
void showFileError(Platform& platform, FileError error);

}  // namespace plotvane
