#include "data/list_copy.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/language.h"
#include "data/data_list.h"
#include "platform/headless_platform.h"

namespace plotvane {
namespace {

TEST(ListCopy, TheSelectedRowOrEveryRowWithTheHeaderLine) {
  const std::string header = "Data:X\tData:Y\tSource:X\tSource:Y\r\n";
  const std::string first = "1.5\t-2\t10\t20\r\n";
  const std::string second = "3\t4.25\t30\t40\r\n";
  // clang-format off
  const struct { const char* name; std::optional<std::size_t> selected; std::string text; } cases[] = {
      {.name = "none selected", .selected = std::nullopt, .text = header + first + second},
      {.name = "first selected", .selected = 0, .text = header + first},
      {.name = "second selected", .selected = 1, .text = header + second}};
  // clang-format on
  for (const auto& c : cases) {
    HeadlessPlatform platform;
    Form1 form{platform};
    SetLngage(form.app);
    ASSERT_EQ(appendDataPoint(form, 1.5f, -2, 10, 20), AddResult::Added);
    ASSERT_EQ(appendDataPoint(form, 3, 4.25f, 30, 40), AddResult::Added);
    selectRow(form.ui.ListView1, c.selected);
    ListView1Copy(form);
    ASSERT_EQ(platform.clipboardTexts().size(), 1u) << c.name;
    EXPECT_EQ(platform.clipboardTexts()[0], c.text) << c.name;
  }
}

TEST(ListCopy, AnEmptyListLeavesTheClipboardAlone) {
  HeadlessPlatform platform;
  Form1 form{platform};
  SetLngage(form.app);
  ListView1Copy(form);
  ASSERT_EQ(appendDataPoint(form, 1, 2, 3, 4), AddResult::Added);
  removeAllPoints(form);
  ListView1Copy(form);
  EXPECT_TRUE(platform.clipboardTexts().empty());
}

}  // namespace
}  // namespace plotvane
