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
  struct Case {
    std::string text;
    double expected;
  };
  // clang-format off
  const Case cases[] = {
      {"  1 2.5e1x", 125}, {"\t-\r\n4 . 5", -4.5}, {"&H1F", 31}, {"&h1f", 31}, {"& h 1 f", 31},
      {"&HFFFF", 65535}, {"&H1G", 1}, {"&H", 0}, {"&O17", 15}, {"&o78", 7}, {"&17", 0},
      {"-&H10", 0}, {".5", 0.5}, {"-", 0}, {".e5", 0}, {"1E", 1}, {"1E+", 1}, {"1e -2", 0.01},
      {"1D2", 100}, {"abc", 0}, {"", 0}, {"+3", 3}, {"1.2.3", 1.2}, {"12,5", 12}, {"0.1", 0.1},
      {"0012.3450e-1", 1.2345}, {"1e400", kInf}, {"-1e400", -kInf}, {"1e-400", 0},
      {"1e99999999999999999999", kInf}, {"0e99999999999999999999", 0},
      {"123456789012345678901234567890", 123456789012345678901234567890.0},
      {"4.9406564584124654e-324", 4.9406564584124654e-324},
      // Beyond 53 bits the readers must round, not truncate: 2^80 - 1 and 2^64 - 1.
      {"&HFFFFFFFFFFFFFFFFFFFF", std::ldexp(1.0, 80)},
      {"&O1777777777777777777777", std::ldexp(1.0, 64)},
      {"&O" + std::string(400, '7'), kInf}};
  // clang-format on
  for (const Case& c : cases) {
    EXPECT_EQ(leadingNumber(c.text), c.expected) << '"' << c.text << '"';
  }
  EXPECT_TRUE(std::signbit(leadingNumber("-1e-400")));
}

TEST(StrictNumber, Table) {
  struct Case {
    std::string text;
    std::optional<double> expected;
  };
  const std::nullopt_t no = std::nullopt;
  // clang-format off
  const Case cases[] = {
      {"12.", 12}, {" 3 ", 3}, {"\t-1.5e3\t", -1500}, {"+.5E-1", 0.05}, {"1D2", 100},
      {"&H10", 16}, {"&o17", 15}, {"1e400", kInf}, {"-1e400", -kInf},
      {"", no}, {"  ", no}, {".", no}, {"-", no}, {"1e", no}, {"1e+", no}, {"1,5", no},
      {"1.2.3", no}, {"1 2", no}, {"- 1", no}, {"abc", no}, {"12x", no}, {"&H", no},
      {"&H1G", no}, {"-&H10", no}};
  // clang-format on
  for (const Case& c : cases) {
    EXPECT_EQ(strictNumber(c.text), c.expected) << '"' << c.text << '"';
  }
}

TEST(SingleText, Table) {
  using Lim = std::numeric_limits<float>;
  struct Case {
    float value;
    const char* expected;
  };
  // clang-format off
  const Case cases[] = {
      {0.1f, "0.1"}, {1.0f / 3.0f, "0.3333333"}, {16777216.0f, "1.677722E+07"},
      {1.5e7f, "1.5E+07"}, {0.00001f, "1E-05"}, {0.0001f, "0.0001"}, {123456.7f, "123456.7"},
      {9999999.0f, "9999999"}, {12345678.0f, "1.234568E+07"}, {100.0f, "100"}, {-2.5f, "-2.5"},
      {-0.0f, "0"}, {Lim::max(), "3.402823E+38"}, {Lim::denorm_min(), "1.401298E-45"},
      {Lim::infinity(), "Infinity"}, {-Lim::infinity(), "-Infinity"}, {Lim::quiet_NaN(), "NaN"}};
  // clang-format on
  for (const Case& c : cases) EXPECT_EQ(singleText(c.value), c.expected) << c.expected;
}

TEST(DoubleText, Table) {
  struct Case {
    double value;
    const char* expected;
  };
  // clang-format off
  const Case cases[] = {
      {999999999999999.9, "1E+15"}, {0.1, "0.1"}, {1.0 / 3.0, "0.333333333333333"},
      {2.0 / 3.0, "0.666666666666667"}, {123456789012345.0, "123456789012345"},
      {1234567890123456.0, "1.23456789012346E+15"}, {1e100, "1E+100"}, {1e-100, "1E-100"},
      {-1.5e-5, "-1.5E-05"}, {0.0001, "0.0001"}, {-0.0, "0"}, {-kInf, "-Infinity"}};
  // clang-format on
  for (const Case& c : cases) EXPECT_EQ(doubleText(c.value), c.expected) << c.expected;
}

TEST(Rounding, Table) {
  // No value: the conversion must raise OverflowError.
  struct Case {
    double value;
    std::optional<std::int32_t> to16, to32;
  };
  const std::nullopt_t no = std::nullopt;
  // clang-format off
  const Case cases[] = {
      {2.5, 2, 2}, {3.5, 4, 4}, {-2.5, -2, -2}, {-0.5, 0, 0}, {1.5, 2, 2},
      {32767.4, 32767, 32767}, {32767.5, no, 32768}, {-32768.5, -32768, -32768},
      {-32768.6, no, -32769}, {2147483647.4, no, 2147483647}, {2147483647.5, no, no},
      {-2147483648.5, no, -2147483647 - 1}, {-2147483648.6, no, no}, {1e300, no, no},
      {kInf, no, no}, {-kInf, no, no}, {kNaN, no, no}};
  // clang-format on
  auto check = [](auto convert, double value, std::optional<std::int32_t> expected) {
    if (expected) {
      EXPECT_EQ(convert(value), *expected) << value;
    } else {
      EXPECT_THROW(convert(value), OverflowError) << value;
    }
  };
  for (const Case& c : cases) {
    check(roundToInt16, c.value, c.to16);
    check(roundToInt32, c.value, c.to32);
  }
}

TEST(IntFix, Table) {
  struct Case {
    double value, intExpected, fixExpected;
  };
  const Case cases[] = {{2.7, 2, 2}, {-2.7, -3, -2}, {-2.0, -2, -2}, {0.5, 0, 0}, {-0.5, -1, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(intPart(c.value), c.intExpected) << c.value;
    EXPECT_EQ(fixPart(c.value), c.fixExpected) << c.value;
  }
}

TEST(ScientificText, Table) {
  struct Case {
    double value;
    const char* expected;
  };
  const Case cases[] = {{12.3456, "1.235E+01"}, {0.0, "0.000E+00"},    {-0.0, "0.000E+00"},
                        {-0.5, "-5.000E-01"},   {1e100, "1.000E+100"}, {1e-5, "1.000E-05"},
                        {9.9996, "1.000E+01"},  {123456, "1.235E+05"}, {kNaN, "NaN"}};
  for (const Case& c : cases) EXPECT_EQ(scientificText(c.value), c.expected) << c.expected;
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
