#include "view/save_picture.h"

#include <optional>

#include "app/save_destination.h"
#include "picture/bitmap_file.h"

namespace plotvane {

std::vector<FileFilter> pictureFileFilters(const Form1& form) {
  // "All Files" lists every name: on this system "*.*" would hide names
  // without a dot, which the dialog saves as typed.
  return {{form.caption(Caption::BitmapFiles), {"*.bmp"}},
          {form.caption(Caption::AllFiles), {"*"}}};
}

void mnuFileSaveClick(Form1& form) {
  const WorkingPicture& picture = form.state.Picture2;
  if (form.state.picturePath.empty() || picture.empty()) return;
  const FileDialogRequest request{
      form.caption(Caption::SavePictureTitle), pictureFileFilters(form), {}};
  int filterIndex = 1;
  const std::optional<SaveDestination> destination = askSaveDestination(form, request, filterIndex);
  if (!destination || destination->existing == ExistingFile::Keep) return;
  // Taken after the dialog, which lets events run: the picture as it is when
  // the name is settled.
  const std::string bytes = bitmapFileBytes(picture.pixels());
  if (const FileError error = form.platform.replaceFile(destination->path, bytes))
    showFileError(form.platform, error);
}

}  // namespace plotvane
