// Every event enters the core through runHandler: whatever a handler throws
// (overflow, allocation failure, I/O) becomes a message box titled
// "Plotvane", and the program goes on.
#pragma once

#include <exception>
#include <new>
#include <string>
#include <utility>

#include "platform/platform.h"

namespace plotvane {

template <typename Handler>
bool runHandler(Platform& platform, Handler&& handler) noexcept {
  std::string text;
  try {
    std::forward<Handler>(handler)();
    return true;
  } catch (const std::bad_alloc&) {
    text = "Out of memory";
  } catch (const std::exception& error) {
    text = error.what();
  } catch (...) {
    text = "Unexpected error";
  }
  try {
    platform.messageBox(text, MessageButtons::Ok, MessageIcon::Critical);
  } catch (...) {
  }
  return false;
}

}  // namespace plotvane
