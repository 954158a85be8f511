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

// overflowText is asked only when an overflow was raised, so it reads the
// message table as it stands after the handler (which may have switched the
// language).
template <typename Handler, typename OverflowText>
bool run(Platform& platform, Handler&& handler, OverflowText&& overflowText) noexcept {
  std::string text;
  try {
    std::forward<Handler>(handler)();
    return true;
  } catch (const OverflowError&) {
    text = overflowText();
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

}  // namespace boundary_detail

template <typename Handler>
bool runHandler(Platform& platform, Handler&& handler) noexcept {
  return boundary_detail::run(platform, std::forward<Handler>(handler),
                              [] { return std::string(OverflowError().what()); });
}

// The same for a handler of the main window or its dialogs: an overflow is
// shown as the message table's entry, in the user's language (the English
// text until start-up has filled the tables).
template <typename Handler>
bool runHandler(Form1& form, Handler&& handler) noexcept {
  return boundary_detail::run(form.platform, std::forward<Handler>(handler), [&form] {
    const std::string& text = form.message(Message::Overflow);
    return text.empty() ? std::string(OverflowError().what()) : text;
  });
}

}  // namespace plotvane
