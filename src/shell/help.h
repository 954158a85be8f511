// The Help command: the help page help/Help.html opened with the desktop's
// viewer for HTML files.
#pragma once

#include <string>
#include <vector>

#include "app/form1.h"

namespace plotvane {

// The folders that may hold the help page, in the order they are tried:
// "help" under the start directory, then the one installed with the
// program, beside the executable or in its share/plotvane folder.
std::vector<std::string> helpFolders(const std::string& startDir, const std::string& programFolder);

// Click of mnuHelpHelp (F1): opens Help.html from the first of helpFolders
// that exists. No such folder: "ERROR_PATH_NOT_FOUND"; the folder without
// the page: message 4 followed by the folder. A viewer that cannot be
// started is reported too.
void mnuHelpHelpClick(Form1& form);

}  // namespace plotvane
