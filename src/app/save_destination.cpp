#include "app/save_destination.h"

namespace plotvane {

void showFileError(Platform& platform, FileError error) {
  platform.messageBox(Platform::errorText(error), MessageButtons::Ok, MessageIcon::Exclamation);
}

std::optional<SaveDestination> askSaveDestination(Form1& form, const FileDialogRequest& request,
                                                  int& filterIndex) {
  Platform& platform = form.platform;
  const auto filterCount = static_cast<int>(request.filters.size());
  for (;;) {
    const std::optional<SaveDialogChoice> choice = platform.saveFileDialog(request, filterIndex);
    if (!choice) return std::nullopt;
    if (choice->filterIndex >= 1 && choice->filterIndex <= filterCount)
      filterIndex = choice->filterIndex;

    bool exists = false;
    if (const FileError error = platform.fileExists(choice->path, exists)) {
      showFileError(platform, error);
      return std::nullopt;
    }
    if (!exists) return SaveDestination{choice->path, choice->filterIndex, ExistingFile::None};
    switch (platform.messageBox(form.message(Message::OverwriteFile), MessageButtons::YesNoCancel,
                                MessageIcon::Question)) {
      case MessageResult::Yes:
        return SaveDestination{choice->path, choice->filterIndex, ExistingFile::Replace};
      case MessageResult::No:
        return SaveDestination{choice->path, choice->filterIndex, ExistingFile::Keep};
      default:
        break;  // the dialog again, with an empty name
    }
  }
}

}  // namespace plotvane
