#include "digitize/run_control.h"

#include <gtest/gtest.h>

#include "app/language.h"
#include "digitize/column_scan.h"
#include "platform/headless_platform.h"

namespace plotvane {
namespace {

class FieldChecks : public ::testing::Test {
 protected:
  FieldChecks() { SetLngage(form.app); }

  HeadlessPlatform platform;
  Form1 form{platform};
};

// Leaving the count field or the pitch field: the texts both fields hold
// afterwards ("old" is what the other field held), and the message shown.
TEST_F(FieldChecks, CountAndPitchChecksKeepTheFieldsInStep) {
  enum Field { kCount, kPitch };
  using enum Message;
  // clang-format off
  const struct {
    Field left; const char* typed; float maxX = 6; const char* count = "old", *pitch = "old";
    std::optional<Message> message = {};
  } cases[] = {
      {.left = kCount, .typed = "12.7", .count = "12", .pitch = "0.5"},
      {.left = kCount, .typed = "200", .maxX = 1, .count = "200", .pitch = "0.005"},
      {.left = kCount, .typed = "3abc", .maxX = 0.75f, .count = "3", .pitch = "0.25"},
      {.left = kCount, .typed = "32766", .maxX = 32766, .count = "32766", .pitch = "1"},
      {.left = kCount, .typed = "0", .count = "0", .message = WholeNumberRequired},
      {.left = kCount, .typed = "-3", .count = "-3", .message = WholeNumberRequired},
      {.left = kCount, .typed = "0.4", .count = "0.4", .message = WholeNumberRequired},
      {.left = kCount, .typed = "abc", .count = "abc", .message = WholeNumberRequired},
      {.left = kCount, .typed = "40000", .count = "40000", .message = CountOutOfRange},
      {.left = kCount, .typed = "32767", .count = "32767", .message = CountOutOfRange},
      {.left = kPitch, .typed = "0.25", .count = "24", .pitch = "0.25"},
      // 12.5 rounds up.
      {.left = kPitch, .typed = "0.5", .maxX = 6.25f, .count = "13", .pitch = "0.480769230769231"},
      // 0.7 is stored as a single-precision value; the count is 3 and the
      // pitch follows it, so the X values span the whole range.
      {.left = kPitch, .typed = "0.2", .maxX = 0.7f, .count = "3", .pitch = "0.23333332935969"},
      {.left = kPitch, .typed = "abc", .pitch = "abc", .message = ZeroNotAllowed},
      {.left = kPitch, .typed = "0", .pitch = "0", .message = ZeroNotAllowed},
      // A negative count.
      {.left = kPitch, .typed = "-0.25", .pitch = "-0.25", .message = WholeNumberRequired},
      {.left = kPitch, .typed = "1e-9", .pitch = "1e-9", .message = CountOutOfRange},
      // 60 000 divisions.
      {.left = kPitch, .typed = "0.0001", .pitch = "0.0001", .message = CountOutOfRange}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.left == kCount ? "count " : "pitch ") + c.typed);
    platform.clearMessages();
    form.state.minX = 0;
    form.state.maxX = c.maxX;
    form.ui.txtSmpX.text = c.left == kCount ? c.typed : "old";
    form.ui.txtStpX.text = c.left == kPitch ? c.typed : "old";
    if (c.left == kCount)
      txtSmpXLostFocus(form);
    else
      txtStpXLostFocus(form);
    EXPECT_EQ(form.ui.txtSmpX.text, c.count);
    EXPECT_EQ(form.ui.txtStpX.text, c.pitch);
    if (!c.message) {
      EXPECT_TRUE(platform.messages().empty());
    } else {
      ASSERT_EQ(platform.messages().size(), 1u);
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
      {.text = "-1"}, {.text = "3.5"}, {.text = "abc"}, {.text = ""}, {.text = "5x"},
      {.text = "1e400"}, {.text = "126.99999"}};
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(yFilterHeight(c.text), c.height) << '"' << c.text << '"';
}

}  // namespace
}  // namespace plotvane
