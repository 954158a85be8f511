#include "loading/load_picture.h"

#include <cstdint>
#include <new>
#include <string>

#include "data/data_list.h"
#include "digitize/graph_type.h"
#include "loading/file_pane.h"
#include "view/undo_commands.h"
#include "view/view.h"

namespace plotvane {

namespace {

// The busy pointer and the status line's "Loading" for as long as a read
// takes; the status line gets its old text back unless the load replaced it.
class LoadingFeedback {
 public:
  LoadingFeedback(Form1& form, const std::string& path) : form_(form), old_(panelText(form)) {
    const std::size_t slash = path.rfind('/');
    form.setPanel(StatusPanel::PictureSize,
                  form.caption(Caption::LoadingPicture) +
                      (slash == std::string::npos ? path : path.substr(slash + 1)));
    form.platform.showBusy(true);
  }
  ~LoadingFeedback() {
    form_.platform.showBusy(false);
    if (!loaded_) form_.setPanel(StatusPanel::PictureSize, old_);
  }
  LoadingFeedback(const LoadingFeedback&) = delete;
  LoadingFeedback& operator=(const LoadingFeedback&) = delete;

  void loaded() { loaded_ = true; }

 private:
  static std::string panelText(const Form1& form) {
    const auto& panels = form.ui.StatusBar1.panels;
    const auto index = static_cast<std::size_t>(StatusPanel::PictureSize);
    return index < panels.size() ? panels[index] : std::string();
  }

  Form1& form_;
  std::string old_;
  bool loaded_ = false;
};

}  // namespace

bool LoadPictureFile(Form1& form, const std::string& path) {
  FormState& state = form.state;
  if (!state.Picture2.editable()) return false;

  // Decoded into a local picture first: a failed read leaves the picture,
  // its path, the zoom, the list and the undo history as they were. The
  // picture shown stays in memory meanwhile, and the limits count it.
  PixelArray picture;
  PictureLimits limits = PictureLimits::forThisMachine();
  limits.heldBytes = static_cast<std::uint64_t>(state.Picture2.width()) *
                     static_cast<std::uint64_t>(state.Picture2.height()) * 4;
  std::string failure;
  bool read = false;
  {
    LoadingFeedback feedback(form, path);
    try {
      read = !path.empty() && form.platform.readPicture(path, limits, picture, failure);
    } catch (const std::bad_alloc&) {
      read = false;
      failure = "out of memory";
    }
    if (read && !limits.accepts(picture.width(), picture.height())) {
      read = false;
      failure = "picture too large";
    }
    if (read) feedback.loaded();
  }
  if (!read) {
    state.pictureFailure = path.empty() ? "no file named" : failure;
    form.showMessage(form.message(Message::UnsupportedFile));
    return false;
  }

  state.pictureFailure.clear();
  state.picturePath = path;
  // Emptied first, so that the old picture is not kept for an undo that
  // can no longer happen.
  resetUndo(form);
  state.Picture2.replace(std::move(picture));
  showChangedPicture(form, PictureChange::Loaded);
  showWorkingDirectoryInFilePane(form);
  // Execute follows the graph type: the click types keep it disabled.
  cmbGraphTypeClick(form);
  if (form.app.pointCount != 0) cmdListDelAllClick(form);
  return true;
}

bool openPictureFrom(Form1& form, const std::string& path) {
  Platform& platform = form.platform;
  const std::string whole = path.empty() || path.front() == '/'
                                ? path
                                : Platform::joinPath(platform.currentDirectory(), path);
  if (!LoadPictureFile(form, whole)) return false;
  if (platform.setCurrentDirectory(parentFolder(whole)) == 0) showWorkingDirectoryInFilePane(form);
  return true;
}

FileDialogRequest openPictureDialog(const Form1& form) {
  const std::string& picture = form.state.picturePath;
  return {form.caption(Caption::OpenPictureTitle),
          {{form.caption(Caption::AllPictureFiles),
            {"*.bmp", "*.jpg", "*.jpeg", "*.gif", "*.png", "*.tif", "*.tiff", "*.webp"}},
           {form.caption(Caption::BitmapFiles), {"*.bmp"}},
           {form.caption(Caption::JpegFiles), {"*.jpg"}},
           {form.caption(Caption::GifFiles), {"*.gif"}},
           {form.caption(Caption::AllFiles), {"*"}}},
          picture.starts_with('/') ? parentFolder(picture) : std::string()};
}

void mnuFileOpenClick(Form1& form) {
  if (!form.state.Picture2.editable()) return;
  const std::string path = form.platform.openFileDialog(openPictureDialog(form));
  if (!path.empty()) openPictureFrom(form, path);
}

void mnuFileRedrawClick(Form1& form) {
  if (form.state.picturePath.empty()) return;
  const std::string path = form.state.picturePath;
  LoadPictureFile(form, path);
}

void formDropFiles(Form1& form, const std::vector<std::string>& paths) {
  if (!paths.empty()) openPictureFrom(form, paths.front());
}

void file1Click(Form1& form, int index) {
  FileListControl& file1 = form.ui.File1;
  if (index < 1 || index > static_cast<int>(file1.files.size())) return;
  if (!form.state.Picture2.editable()) return;
  file1.selected = index;
  const std::string folder = file1.path;
  const std::string path =
      Platform::joinPath(folder, file1.files[static_cast<std::size_t>(index - 1)]);
  if (const FileError error = form.platform.setCurrentDirectory(folder)) {
    form.platform.messageBox(Platform::errorText(error), MessageButtons::Ok,
                             MessageIcon::Exclamation);
    return;
  }
  LoadPictureFile(form, path);
}

}  // namespace plotvane
