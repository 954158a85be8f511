#include "digitize/run_control.h"

#include <gtest/gtest.h>

#include "app/language.h"
#include "platform/headless_platform.h"

namespace plotvane {
namespace {

class FieldChecks : public ::testing::Test {
 protected:
  FieldChecks() { SetLngage(form.app); }

  HeadlessPlatform platform;
  Form1 form{platform};
};

TEST_F(FieldChecks, DivisionCountIsRoundedDownAndSetsThePitch) {
  const struct {
    const char* typed;
    float minX, maxX;
    const char* count;  // the field afterwards
    const char* pitch;
    int message;  // -1: none
  } cases[] = {
      {"12.7", 0, 6, "12", "0.5", -1},     {"200", 0, 1, "200", "0.005", -1},
      {"3abc", 0, 0.75f, "3", "0.25", -1}, {"32766", 0, 32766, "32766", "1", -1},
      {"0", 0, 6, "0", "old", 2},          {"-3", 0, 6, "-3", "old", 2},
      {"0.4", 0, 6, "0.4", "old", 2},      {"abc", 0, 6, "abc", "old", 2},
      {"40000", 0, 6, "40000", "old", 8},  {"32767", 0, 6, "32767", "old", 8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    platform.clearMessages();
    form.state.minX = c.minX;
    form.state.maxX = c.maxX;
    form.ui.txtStpX.text = "old";
    form.ui.txtSmpX.text = c.typed;
    txtSmpXLostFocus(form);
    EXPECT_EQ(form.ui.txtSmpX.text, c.count);
    EXPECT_EQ(form.ui.txtStpX.text, c.pitch);
    if (c.message < 0) {
      EXPECT_TRUE(platform.messages().empty());
    } else {
      ASSERT_EQ(platform.messages().size(), 1u);
      EXPECT_EQ(platform.messages()[0].text, form.message(c.message));
      EXPECT_EQ(platform.messages()[0].icon, MessageIcon::None);
    }
  }
}

TEST_F(FieldChecks, PitchGivesTheNearestCountAndTheMatchingPitch) {
  const struct {
    const char* typed;
    float minX, maxX;
    const char* count;
    const char* pitch;
    int message;
  } cases[] = {
      {"0.25", 0, 6, "24", "0.25", -1},
      {"0.5", 0, 6.25f, "13", "0.480769230769231", -1},  // 12.5 rounds up
      // 0.7 is stored as a single-precision value; the count is 3 and the
      // pitch follows it, so the X values span the whole range.
      {"0.2", 0, 0.7f, "3", "0.23333332935969", -1},
      {"abc", 0, 6, "old", "abc", 3},
      {"0", 0, 6, "old", "0", 3},
      {"-0.25", 0, 6, "old", "-0.25", 2},  // a negative count
      {"1e-9", 0, 6, "old", "1e-9", 8},
      {"0.0001", 0, 6, "old", "0.0001", 8},  // 60 000 divisions
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    platform.clearMessages();
    form.state.minX = c.minX;
    form.state.maxX = c.maxX;
    form.ui.txtSmpX.text = "old";
    form.ui.txtStpX.text = c.typed;
    txtStpXLostFocus(form);
    EXPECT_EQ(form.ui.txtSmpX.text, c.count);
    EXPECT_EQ(form.ui.txtStpX.text, c.pitch);
    if (c.message < 0) {
      EXPECT_TRUE(platform.messages().empty());
    } else {
      ASSERT_EQ(platform.messages().size(), 1u);
      EXPECT_EQ(platform.messages()[0].text, form.message(c.message));
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
