// The dialogs of the program as plain data, like the main window: each is a
// model of its controls and state, created when the dialog loads and
// dropped when it unloads. The Qt layer shows a window for every dialog
// that exists and mirrors its controls, exactly as it does for Form1.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "platform/controls.h"

namespace plotvane {

enum class DialogId : std::size_t { About, Message, Rotate, Contrast, ColourMask };
inline constexpr std::size_t kDialogCount = 5;

struct Dialog {
  explicit Dialog(DialogId dialogId, std::string name) : id(dialogId), window(std::move(name)) {}
  virtual ~Dialog() = default;
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  const DialogId id;
  Control window;  // the title in its text
  // The main window takes no input while this dialog is loaded.
  bool exclusive = true;
};

}  // namespace plotvane
