#include "base/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace plotvane {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(LeadingNumber, Table) {
  // clang-format off
  const struct { std::string text; double value; } cases[] = {
      {.text = "  1 2.5e1x", .value = 125}, {.text = "\t-\r\n4 . 5", .value = -4.5},
      {.text = "&H1F", .value = 31}, {.text = "&h1f", .value = 31},
      {.text = "& h 1 f", .value = 31}, {.text = "&HFFFF", .value = 65535},
      {.text = "&H1G", .value = 1}, {.text = "&H", .value = 0}, {.text = "&O17", .value = 15},
      {.text = "&o78", .value = 7}, {.text = "&17", .value = 0}, {.text = "-&H10", .value = 0},
      {.text = ".5", .value = 0.5}, {.text = "-", .value = 0}, {.text = ".e5", .value = 0},
      {.text = "1E", .value = 1}, {.text = "1E+", .value = 1}, {.text = "1e -2", .value = 0.01},
      {.text = "1D2", .value = 100}, {.text = "abc", .value = 0}, {.text = "", .value = 0},
      {.text = "+3", .value = 3}, {.text = "1.2.3", .value = 1.2}, {.text = "12,5", .value = 12},
      {.text = "0.1", .value = 0.1}, {.text = "0012.3450e-1", .value = 1.2345},
      {.text = "1e400", .value = kInf}, {.text = "-1e400", .value = -kInf},
      {.text = "1e-400", .value = 0}, {.text = "1e99999999999999999999", .value = kInf},
      {.text = "0e99999999999999999999", .value = 0},
      {.text = "123456789012345678901234567890", .value = 123456789012345678901234567890.0},
      {.text = "4.9406564584124654e-324", .value = 4.9406564584124654e-324},
      // Beyond 53 bits the readers must round, not truncate: 2^80 - 1 and 2^64 - 1.
      {.text = "&HFFFFFFFFFFFFFFFFFFFF", .value = std::ldexp(1.0, 80)},
      {.text = "&O1777777777777777777777", .value = std::ldexp(1.0, 64)},
      {.text = "&O" + std::string(400, '7'), .value = kInf}};
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(leadingNumber(c.text), c.value) << '"' << c.text << '"';
  EXPECT_TRUE(std::signbit(leadingNumber("-1e-400")));
}

TEST(StrictNumber, Table) {
  // No value: the text is not a number.
  // clang-format off
  const struct { std::string text; std::optional<double> value = {}; } cases[] = {
      {.text = "12.", .value = 12}, {.text = " 3 ", .value = 3},
      {.text = "\t-1.5e3\t", .value = -1500}, {.text = "+.5E-1", .value = 0.05},
      {.text = "1D2", .value = 100}, {.text = "&H10", .value = 16}, {.text = "&o17", .value = 15},
      {.text = "1e400", .value = kInf}, {.text = "-1e400", .value = -kInf},
      {.text = ""}, {.text = "  "}, {.text = "."}, {.text = "-"}, {.text = "1e"}, {.text = "1e+"},
      {.text = "1,5"}, {.text = "1.2.3"}, {.text = "1 2"}, {.text = "- 1"}, {.text = "abc"},
      {.text = "12x"}, {.text = "&H"}, {.text = "&H1G"}, {.text = "-&H10"}};
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(strictNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(SingleText, Table) {
  using Lim = std::numeric_limits<float>;
  // clang-format off
  const struct { float value; const char* text; } cases[] = {
      {.value = 0.1f, .text = "0.1"}, {.value = 1.0f / 3.0f, .text = "0.3333333"},
      {.value = 16777216.0f, .text = "1.677722E+07"}, {.value = 1.5e7f, .text = "1.5E+07"},
      {.value = 0.00001f, .text = "1E-05"}, {.value = 0.0001f, .text = "0.0001"},
      {.value = 123456.7f, .text = "123456.7"}, {.value = 9999999.0f, .text = "9999999"},
      {.value = 12345678.0f, .text = "1.234568E+07"}, {.value = 100.0f, .text = "100"},
      {.value = -2.5f, .text = "-2.5"}, {.value = -0.0f, .text = "0"},
      {.value = Lim::max(), .text = "3.402823E+38"},
      {.value = Lim::denorm_min(), .text = "1.401298E-45"},
      {.value = Lim::infinity(), .text = "Infinity"},
      {.value = -Lim::infinity(), .text = "-Infinity"}, {.value = Lim::quiet_NaN(), .text = "NaN"}};
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(singleText(c.value), c.text) << c.text;
}

TEST(DoubleText, Table) {
  // clang-format off
  const struct { double value; const char* text; } cases[] = {
      {.value = 999999999999999.9, .text = "1E+15"}, {.value = 0.1, .text = "0.1"},
      {.value = 1.0 / 3.0, .text = "0.333333333333333"},
      {.value = 2.0 / 3.0, .text = "0.666666666666667"},
      {.value = 123456789012345.0, .text = "123456789012345"},
      {.value = 1234567890123456.0, .text = "1.23456789012346E+15"},
      {.value = 1e100, .text = "1E+100"}, {.value = 1e-100, .text = "1E-100"},
      {.value = -1.5e-5, .text = "-1.5E-05"}, {.value = 0.0001, .text = "0.0001"},
      {.value = -0.0, .text = "0"}, {.value = -kInf, .text = "-Infinity"}};
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(doubleText(c.value), c.text) << c.text;
}

TEST(Rounding, Table) {
  // No value: the conversion must raise OverflowError.
  // clang-format off
  const struct { double value; std::optional<std::int32_t> to16 = {}, to32 = {}; } cases[] = {
      {.value = 2.5, .to16 = 2, .to32 = 2}, {.value = 3.5, .to16 = 4, .to32 = 4},
      {.value = -2.5, .to16 = -2, .to32 = -2}, {.value = -0.5, .to16 = 0, .to32 = 0},
      {.value = 1.5, .to16 = 2, .to32 = 2}, {.value = 32767.4, .to16 = 32767, .to32 = 32767},
      {.value = 32767.5, .to32 = 32768}, {.value = -32768.5, .to16 = -32768, .to32 = -32768},
      {.value = -32768.6, .to32 = -32769}, {.value = 2147483647.4, .to32 = 2147483647},
      {.value = 2147483647.5}, {.value = -2147483648.5, .to32 = -2147483647 - 1},
      {.value = -2147483648.6}, {.value = 1e300}, {.value = kInf}, {.value = -kInf},
      {.value = kNaN}};
  // clang-format on
  auto check = [](auto convert, double value, std::optional<std::int32_t> expected) {
    if (expected) {
      EXPECT_EQ(convert(value), *expected) << value;
    } else {
      EXPECT_THROW(convert(value), OverflowError) << value;
    }
  };
  for (const auto& c : cases) {
    check(roundToInt16, c.value, c.to16);
    check(roundToInt32, c.value, c.to32);
  }
}

TEST(IntFix, Table) {
  // clang-format off
  const struct { double value, intPart, fixPart; } cases[] = {
      {.value = 2.7, .intPart = 2, .fixPart = 2}, {.value = -2.7, .intPart = -3, .fixPart = -2},
      {.value = -2.0, .intPart = -2, .fixPart = -2}, {.value = 0.5, .intPart = 0, .fixPart = 0},
      {.value = -0.5, .intPart = -1, .fixPart = 0}};
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(intPart(c.value), c.intPart) << c.value;
    EXPECT_EQ(fixPart(c.value), c.fixPart) << c.value;
  }
}

TEST(ScientificText, Table) {
  // clang-format off
  const struct { double value; const char* text; } cases[] = {
      {.value = 12.3456, .text = "1.235E+01"}, {.value = 0.0, .text = "0.000E+00"},
      {.value = -0.0, .text = "0.000E+00"}, {.value = -0.5, .text = "-5.000E-01"},
      {.value = 1e100, .text = "1.000E+100"}, {.value = 1e-5, .text = "1.000E-05"},
      {.value = 9.9996, .text = "1.000E+01"}, {.value = 123456, .text = "1.235E+05"},
      {.value = kNaN, .text = "NaN"}};
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(scientificText(c.value), c.text) << c.text;
}

TEST(NumberText, IgnoresProcessLocale) {
  bool switched = false;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8"}) {
    if (std::setlocale(LC_ALL, name) != nullptr) {
      switched = true;
      break;
    }
  }
  if (!switched) GTEST_SKIP() << "no locale with a decimal comma installed";
  const std::string point = std::localeconv()->decimal_point;
  EXPECT_EQ(leadingNumber("0.125"), 0.125);
  EXPECT_EQ(leadingNumber("0,5"), 0);
  EXPECT_EQ(strictNumber("0.125"), 0.125);
  EXPECT_EQ(strictNumber("1,5"), std::nullopt);
  EXPECT_EQ(singleText(0.5f), "0.5");
  EXPECT_EQ(doubleText(-1.5e-5), "-1.5E-05");
  EXPECT_EQ(scientificText(12.3456), "1.235E+01");
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(point, ",") << "the chosen locale does not use a decimal comma";
}

}  // namespace
}  // namespace plotvane
