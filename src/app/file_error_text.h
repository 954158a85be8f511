// The descriptions of file errors that the program's warnings show, in the
// user's language.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace plotvane {

// The description of the error in the language (0 Japanese, any other
// value English); an error without a description of the program's own
// gets the system's.
std::string fileErrorText(FileError error, std::int16_t language);

// "path: description", the warning about a file that names it.
std::string fileWarningText(const std::string& path, FileError error, std::int16_t language);

}  // namespace plotvane
