#include "shell/help.h"

namespace plotvane {
namespace {

const char* const kHelpFolder = "help";
const char* const kHelpPage = "Help.html";

// The folder above this one ("/usr" for "/usr/bin"); "/" above a top folder.
std::string parentFolder(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  const std::size_t slash = folder.rfind('/');
  if (slash == std::string::npos) return {};
  return slash == 0 ? std::string("/") : folder.substr(0, slash);
}

}  // namespace

std::vector<std::string> helpFolders(const std::string& startDir,
                                     const std::string& programFolder) {
  std::vector<std::string> folders{Platform::joinPath(startDir, kHelpFolder)};
  if (!programFolder.empty()) {
    folders.push_back(Platform::joinPath(programFolder, kHelpFolder));
    const std::string prefix = parentFolder(programFolder);
    if (!prefix.empty())
      folders.push_back(
          Platform::joinPath(Platform::joinPath(prefix, "share/plotvane"), kHelpFolder));
  }
  return folders;
}

void mnuHelpHelpClick(Form1& form) {
  Platform& platform = form.platform;
  for (const std::string& folder : helpFolders(form.state.startDir, platform.programFolder())) {
    std::vector<FolderEntry> entries;
    if (platform.listFolder(folder, entries) != 0) continue;
    const std::string page = Platform::joinPath(folder, kHelpPage);
    bool exists = false;
    if (const FileError error = platform.fileExists(page, exists)) {
      platform.messageBox(Platform::errorText(error), MessageButtons::Ok, MessageIcon::Exclamation);
      return;
    }
    if (!exists) {
      form.showMessage(form.message(Message::HelpFileMissing) + folder);
      return;
    }
    if (!platform.openDocument(page))
      form.showMessage(form.message(Message::HelpPageNotOpened) + page);
    return;
  }
  form.showMessage("ERROR_PATH_NOT_FOUND");
}

}  // namespace plotvane
