// Every event enters the core through runHandler: whatever a handler throws
// (overflow, allocation failure, I/O) becomes a message box titled
// "Plotvane", and the program goes on.
#pragma once

#include <exception>
#include <new>
#include <string>
#include <utility>

#include "app/form1.h"
#include "base/number_text.h"
#include "platform/platform.h"

namespace plotvane {

namespace boundary_detail {

// What went wrong in a handler, for the failures that have a text of their
// own; any other exception shows its own text.
enum class Failure { Overflow, OutOfMemory, Unexpected };

inline const char* englishText(Failure failure) {
  switch (failure) {
    case Failure::Overflow:
      return "Overflow";
    case Failure::OutOfMemory:
      return "Out of memory";
    case Failure::Unexpected:
      break;
  }
  return "Unexpected error";
}

// failureText is asked only after a failure, so it reads the message table
// as it stands after the handler (which may have switched the language).
template <typename Handler, typename FailureText>
bool run(Platform& platform, Handler&& handler, FailureText&& failureText) noexcept {
  std::string text;
  try {
    try {
      std::forward<Handler>(handler)();
      return true;
    } catch (const OverflowError&) {
      text = failureText(Failure::Overflow);
    } catch (const std::bad_alloc&) {
      text = failureText(Failure::OutOfMemory);
    } catch (const std::exception& error) {
      text = error.what();
    } catch (...) {
      text = failureText(Failure::Unexpected);
    }
  } catch (...) {
    // No memory left even for the text: this one fits in the string itself.
    text = "Out of memory";
  }
  try {
    platform.messageBox(text, MessageButtons::Ok, MessageIcon::Critical);
  } catch (...) {
  }
  return false;
}

}  // namespace boundary_detail

template <typename Handler>
bool runHandler(Platform& platform, Handler&& handler) noexcept {
  return boundary_detail::run(platform, std::forward<Handler>(handler),
                              [](boundary_detail::Failure failure) {
                                return std::string(boundary_detail::englishText(failure));
                              });
}

// The same for a handler of the main window or its dialogs: the failures are
// shown as the message table's entries, in the user's language (the English
// texts until start-up has filled the tables).
template <typename Handler>
bool runHandler(Form1& form, Handler&& handler) noexcept {
  return boundary_detail::run(
      form.platform, std::forward<Handler>(handler), [&form](boundary_detail::Failure failure) {
        Message id = Message::UnexpectedError;
        if (failure == boundary_detail::Failure::Overflow) id = Message::Overflow;
        if (failure == boundary_detail::Failure::OutOfMemory) id = Message::OutOfMemory;
        const std::string& text = form.message(id);
        return text.empty() ? std::string(boundary_detail::englishText(failure)) : text;
      });
}

}  // namespace plotvane
