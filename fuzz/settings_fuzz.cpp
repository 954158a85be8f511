// The settings reader on any bytes: it never fails, and what it reads is
// what the writer's file reads back as.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (bytes.size() > plotvane::kMaxSettingsBytes)
    bytes = bytes.substr(0, plotvane::kMaxSettingsBytes);
  plotvane::SettingsValues read;
  plotvane::applySettingsBytes(bytes, read);
  if (read.language != 0 && read.language != 1) std::abort();
  // The running and the saved size move together, from the default of 50.
  if (read.undoBufferSize < 0 || read.undoBufferSize != read.undoBufferSizeSaved) std::abort();
  // The written file reads back as the same language and size (a size of 0,
  // read from a value up to 0.5, is written as 0, which does not count).
  plotvane::SettingsValues again;
  again.language = read.language == 0 ? 1 : 0;
  plotvane::applySettingsBytes(plotvane::settingsFileBytes(read), again);
  if (again.language != read.language) std::abort();
  if (read.undoBufferSizeSaved > 0 && again.undoBufferSizeSaved != read.undoBufferSizeSaved)
    std::abort();
  return 0;
}
