#include "digitize/run_control.h"

#include <gtest/gtest.h>

#include "app/language.h"
#include "digitize/column_scan.h"
#include "platform/headless_platform.h"

namespace plotvane {
namespace {

// Leaving the count field or the pitch field: the texts both fields hold
// afterwards ("old" is what the other field held), and the message shown.
TEST(FieldChecks, CountAndPitchChecksKeepTheFieldsInStep) {
  using enum Message;
  HeadlessPlatform platform;
  Form1 form{platform};
  SetLngage(form.app);
  // clang-format off
  const struct {
    bool pitch = false; const char* typed; float maxX = 6; const char* count = "old", *step = "old";
    std::optional<Message> message = {};
  } cases[] = {
      {.typed = "12.7", .count = "12", .step = "0.5"},
      {.typed = "200", .maxX = 1, .count = "200", .step = "0.005"},
      {.typed = "3abc", .maxX = 0.75f, .count = "3", .step = "0.25"},
      {.typed = "32766", .maxX = 32766, .count = "32766", .step = "1"},
      {.typed = "0", .count = "0", .message = WholeNumberRequired},
      {.typed = "-3", .count = "-3", .message = WholeNumberRequired},
      {.typed = "0.4", .count = "0.4", .message = WholeNumberRequired},
      {.typed = "32767", .count = "32767", .message = CountOutOfRange},
      {.pitch = true, .typed = "0.25", .count = "24", .step = "0.25"},
      // 12.5 divisions round up.
      {.pitch = true, .typed = "0.5", .maxX = 6.25f, .count = "13", .step = "0.480769230769231"},
      // 0.7 is stored as a single-precision value; the count is 3 and the
      // pitch follows it, so the X values span the whole range.
      {.pitch = true, .typed = "0.2", .maxX = 0.7f, .count = "3", .step = "0.23333332935969"},
      {.pitch = true, .typed = "0", .step = "0", .message = ZeroNotAllowed},
      {.pitch = true, .typed = "-0.25", .step = "-0.25", .message = WholeNumberRequired},
      {.pitch = true, .typed = "1e-9", .step = "1e-9", .message = CountOutOfRange},
      {.pitch = true, .typed = "0.0001", .step = "0.0001", .message = CountOutOfRange}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.pitch ? "pitch " : "count ") + c.typed);
    platform.clearMessages();
    form.state.minX = 0;
    form.state.maxX = c.maxX;
    form.ui.txtSmpX.text = c.pitch ? "old" : c.typed;
    form.ui.txtStpX.text = c.pitch ? c.typed : "old";
    c.pitch ? txtStpXLostFocus(form) : txtSmpXLostFocus(form);
    EXPECT_EQ(form.ui.txtSmpX.text, c.count);
    EXPECT_EQ(form.ui.txtStpX.text, c.step);
    ASSERT_EQ(platform.messages().size(), c.message ? 1u : 0u);
    if (c.message) {
      EXPECT_EQ(platform.messages()[0].text, form.message(*c.message));
      EXPECT_EQ(platform.messages()[0].icon, MessageIcon::None);
    }
  }
}

TEST(YFilterHeight, OnlyOddWholeNumbersFromOneTo127) {
  // clang-format off
  const struct { const char* text; std::optional<int> height = {}; } cases[] = {
      {.text = "1", .height = 1}, {.text = "5.0", .height = 5}, {.text = " 13 ", .height = 13},
      {.text = "127", .height = 127}, {.text = "129"}, {.text = "2"}, {.text = "0"},
      {.text = "-1"}, {.text = "3.5"}, {.text = "abc"}, {.text = "5x"}, {.text = "1e400"},
      {.text = "126.99999"}};
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(yFilterHeight(c.text), c.height) << '"' << c.text << '"';
}

}  // namespace
}  // namespace plotvane
