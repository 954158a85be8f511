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
  const struct {
    Field field;
    const char* typed;
    float minX, maxX;
    const char* count;
    const char* pitch;
    int message;  // -1: none
  } cases[] = {
      {kCount, "12.7", 0, 6, "12", "0.5", -1},
      {kCount, "200", 0, 1, "200", "0.005", -1},
      {kCount, "3abc", 0, 0.75f, "3", "0.25", -1},
      {kCount, "32766", 0, 32766, "32766", "1", -1},
      {kCount, "0", 0, 6, "0", "old", 2},
      {kCount, "-3", 0, 6, "-3", "old", 2},
      {kCount, "0.4", 0, 6, "0.4", "old", 2},
      {kCount, "abc", 0, 6, "abc", "old", 2},
      {kCount, "40000", 0, 6, "40000", "old", 8},
      {kCount, "32767", 0, 6, "32767", "old", 8},
      {kPitch, "0.25", 0, 6, "24", "0.25", -1},
      {kPitch, "0.5", 0, 6.25f, "13", "0.480769230769231", -1},  // 12.5 rounds up
      // 0.7 is stored as a single-precision value; the count is 3 and the
      // pitch follows it, so the X values span the whole range.
      {kPitch, "0.2", 0, 0.7f, "3", "0.23333332935969", -1},
      {kPitch, "abc", 0, 6, "old", "abc", 3},
      {kPitch, "0", 0, 6, "old", "0", 3},
      {kPitch, "-0.25", 0, 6, "old", "-0.25", 2},  // a negative count
      {kPitch, "1e-9", 0, 6, "old", "1e-9", 8},
      {kPitch, "0.0001", 0, 6, "old", "0.0001", 8},  // 60 000 divisions
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    platform.clearMessages();
    form.state.minX = c.minX;
    form.state.maxX = c.maxX;
    form.ui.txtSmpX.text = c.field == kCount ? c.typed : "old";
    form.ui.txtStpX.text = c.field == kPitch ? c.typed : "old";
    if (c.field == kCount)
      txtSmpXLostFocus(form);
    else
      txtStpXLostFocus(form);
    EXPECT_EQ(form.ui.txtSmpX.text, c.count);
    EXPECT_EQ(form.ui.txtStpX.text, c.pitch);
    if (c.message < 0) {
      EXPECT_TRUE(platform.messages().empty());
    } else {
      ASSERT_EQ(platform.messages().size(), 1u);
      EXPECT_EQ(platform.messages()[0].text, form.message(static_cast<Message>(c.message)));
      EXPECT_EQ(platform.messages()[0].icon, MessageIcon::None);
    }
  }
}

TEST(YFilterHeight, OnlyOddWholeNumbersFromOneTo127) {
  const struct {
    const char* text;
    std::optional<int> height;
  } cases[] = {
      {"1", 1},  {"5.0", 5}, {" 13 ", 13},  {"127", 127},      {"129", {}},
      {"2", {}}, {"0", {}},  {"-1", {}},    {"3.5", {}},       {"abc", {}},
      {"", {}},  {"5x", {}}, {"1e400", {}}, {"126.99999", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(yFilterHeight(c.text), c.height) << c.text;
}

}  // namespace
}  // namespace plotvane
