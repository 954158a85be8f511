#include "base/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>

namespace plotvane {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(LeadingNumber, Table) {
  // clang-format off
  const struct { std::string t; double v; } cases[] = {
      {.t = "  1 2.5e1x", .v = 125}, {.t = "\t-\r\n4 . 5", .v = -4.5}, {.t = "& h 1 f", .v = 31},
      {.t = "&HFFFF", .v = 65535}, {.t = "&H1G", .v = 1}, {.t = "&H", .v = 0}, {.t = "&o78", .v = 7},
      {.t = "&17", .v = 0}, {.t = "-&H10", .v = 0}, {.t = ".e5", .v = 0}, {.t = "1E+", .v = 1},
      {.t = "1e -2", .v = 0.01}, {.t = "1D2", .v = 100}, {.t = "", .v = 0}, {.t = "1.2.3", .v = 1.2},
      {.t = "12,5", .v = 12}, {.t = "0012.3450e-1", .v = 1.2345}, {.t = "-1e400", .v = -kInf},
      {.t = "1e99999999999999999999", .v = kInf}, {.t = "0e99999999999999999999", .v = 0},
      {.t = "123456789012345678901234567890", .v = 123456789012345678901234567890.0},
      {.t = "4.9406564584124654e-324", .v = 4.9406564584124654e-324},
      // Beyond 53 bits the readers must round, not truncate: 2^80 - 1 and 2^64 - 1.
      {.t = "&HFFFFFFFFFFFFFFFFFFFF", .v = std::ldexp(1.0, 80)},
      {.t = "&O1777777777777777777777", .v = std::ldexp(1.0, 64)},
      {.t = "&O" + std::string(400, '7'), .v = kInf}};
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(leadingNumber(c.t), c.v) << '"' << c.t << '"';
  EXPECT_TRUE(std::signbit(leadingNumber("-1e-400")));
}

TEST(StrictNumber, Table) {
  // No value: the text is not a number.
  // clang-format off
  const struct { std::string t; std::optional<double> v = {}; } cases[] = {
      {.t = "12.", .v = 12}, {.t = "\t-1.5e3\t", .v = -1500}, {.t = "+.5E-1", .v = 0.05},
      {.t = "1D2", .v = 100}, {.t = "&H10", .v = 16}, {.t = "&o17", .v = 15}, {.t = "-1e400", .v = -kInf},
      {.t = ""}, {.t = "  "}, {.t = "."}, {.t = "1e+"}, {.t = "1,5"}, {.t = "1.2.3"}, {.t = "- 1"}, {.t = "12x"},
      {.t = "&H"}, {.t = "&H1G"}, {.t = "-&H10"}};
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(strictNumber(c.t), c.v) << '"' << c.t << '"';
}

TEST(SingleText, Table) {
  using Lim = std::numeric_limits<float>;
  // clang-format off
  const struct { float v; const char* t; } cases[] = {
      {.v = 0.1f, .t = "0.1"}, {.v = 1.0f / 3.0f, .t = "0.3333333"},
      {.v = 16777216.0f, .t = "1.677722E+07"}, {.v = 1.5e7f, .t = "1.5E+07"},
      {.v = 0.00001f, .t = "1E-05"}, {.v = 0.0001f, .t = "0.0001"}, {.v = 9999999.0f, .t = "9999999"},
      {.v = -2.5f, .t = "-2.5"}, {.v = -0.0f, .t = "0"},
      {.v = Lim::max(), .t = "3.402823E+38"}, {.v = Lim::denorm_min(), .t = "1.401298E-45"},
      {.v = Lim::infinity(), .t = "Infinity"}, {.v = -Lim::infinity(), .t = "-Infinity"},
      {.v = Lim::quiet_NaN(), .t = "NaN"}};
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(singleText(c.v), c.t) << c.t;
}

TEST(DoubleText, Table) {
  // clang-format off
  const struct { double v; const char* t; } cases[] = {
      {.v = 999999999999999.9, .t = "1E+15"}, {.v = 2.0 / 3.0, .t = "0.666666666666667"},
      {.v = 123456789012345.0, .t = "123456789012345"},
      {.v = 1234567890123456.0, .t = "1.23456789012346E+15"}, {.v = 1e-100, .t = "1E-100"},
      {.v = -1.5e-5, .t = "-1.5E-05"}, {.v = 0.0001, .t = "0.0001"}, {.v = -0.0, .t = "0"},
      {.v = -kInf, .t = "-Infinity"}};
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(doubleText(c.v), c.t) << c.t;
}

TEST(Rounding, Table) {
  // No value: the conversion must raise OverflowError.
  // clang-format off
  const struct { double v; std::optional<std::int32_t> to16 = {}, to32 = {}; } cases[] = {
      {.v = 2.5, .to16 = 2, .to32 = 2}, {.v = 3.5, .to16 = 4, .to32 = 4},
      {.v = -2.5, .to16 = -2, .to32 = -2}, {.v = -0.5, .to16 = 0, .to32 = 0},
      {.v = 32767.4, .to16 = 32767, .to32 = 32767}, {.v = 32767.5, .to32 = 32768},
      {.v = -32768.5, .to16 = -32768, .to32 = -32768},
      {.v = -32768.6, .to32 = -32769}, {.v = 2147483647.4, .to32 = 2147483647},
      {.v = 2147483647.5}, {.v = -2147483648.5, .to32 = -2147483647 - 1}, {.v = -2147483648.6},
      {.v = 1e300}, {.v = kInf}, {.v = -kInf}, {.v = kNaN}};
  // clang-format on
  auto check = [](auto convert, double value, std::optional<std::int32_t> expected) {
    if (expected) {
      EXPECT_EQ(convert(value), *expected) << value;
    } else {
      EXPECT_THROW(convert(value), OverflowError) << value;
    }
  };
  for (const auto& c : cases) check(roundToInt16, c.v, c.to16), check(roundToInt32, c.v, c.to32);
}

TEST(IntFix, Table) {
  // clang-format off
  const struct { double v, i, f; } cases[] = {
      {.v = 2.7, .i = 2, .f = 2}, {.v = -2.7, .i = -3, .f = -2}, {.v = -2.0, .i = -2, .f = -2},
      {.v = 0.5, .i = 0, .f = 0}, {.v = -0.5, .i = -1, .f = 0}};
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(intPart(c.v), c.i) << c.v;
    EXPECT_EQ(fixPart(c.v), c.f) << c.v;
  }
}

TEST(ScientificText, Table) {
  // clang-format off
  const struct { double v; const char* t; } cases[] = {
      {.v = 12.3456, .t = "1.235E+01"}, {.v = -0.0, .t = "0.000E+00"}, {.v = -0.5, .t = "-5.000E-01"},
      {.v = 1e100, .t = "1.000E+100"}, {.v = 9.9996, .t = "1.000E+01"}, {.v = kNaN, .t = "NaN"}};
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(scientificText(c.v), c.t) << c.t;
}

TEST(NumberText, IgnoresProcessLocale) {
  // A locale that writes decimals with a comma: a German one, built if none is installed.
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) {
    const auto dir = std::filesystem::temp_directory_path() / "plotvane-number-locale";
    std::filesystem::create_directories(dir);
    const std::string build = "localedef -i de_DE -f UTF-8 '" + (dir / "de_DE.UTF-8").string();
    (void)std::system((build + "' >/dev/null 2>&1").c_str());
    setenv("LOCPATH", dir.c_str(), 1);
  }
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "no locale with a decimal comma";
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
