#include "base/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace plotvane {

namespace {

// std::from_chars and std::to_chars never consult the process locale, which
// the window may have changed; strtod and printf would.

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

char upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

int digitValue(char c, int radix) {
  int value = -1;
  if (isDigit(c)) {
    value = c - '0';
  } else {
    const char u = upper(c);
    if (u >= 'A' && u <= 'F') value = u - 'A' + 10;
  }
  return value < radix ? value : -1;
}

// Walks the text; in the forgiving mode blanks before any character are
// stepped over as if absent.
class Cursor {
 public:
  Cursor(std::string_view text, bool skipBlanks) : text_(text), skipBlanks_(skipBlanks) {}

  // The next character, or '\0' at the end ('\0' fits no part of a number).
  char peek() {
    if (skipBlanks_) {
      while (pos_ < text_.size() && isBlank(text_[pos_])) ++pos_;
    }
    return pos_ < text_.size() ? text_[pos_] : '\0';
  }
  void advance() { ++pos_; }
  bool atEnd() const { return pos_ >= text_.size(); }

 private:
  std::string_view text_;
  bool skipBlanks_;
  std::size_t pos_ = 0;
};

// What the grammar accepted: the digits as one integer and, for decimals,
// the power of ten that scales it.
struct Scanned {
  bool found = false;  // at least one mantissa digit
  bool negative = false;
  int radix = 10;  // 10, 16 (&H) or 8 (&O)
  std::string digits;
  std::int64_t exponent = 0;
};

// Exponent digits beyond this only push the value further past the double
// range, so accumulation stops growing here instead of overflowing.
constexpr std::int64_t kExponentCap = 1'000'000'000;

Scanned scan(Cursor& cursor) {
  Scanned s;
  char c = cursor.peek();

  if (c == '&') {
    Cursor look = cursor;
    look.advance();
    const char kind = upper(look.peek());
    if (kind != 'H' && kind != 'O') return s;
    look.advance();
    s.radix = kind == 'H' ? 16 : 8;
    cursor = look;
    while (digitValue(c = cursor.peek(), s.radix) >= 0) {
      s.digits += c;
      cursor.advance();
    }
    s.found = !s.digits.empty();
    return s;
  }

  if (c == '+' || c == '-') {
    s.negative = c == '-';
    cursor.advance();
  }
  bool point = false;
  std::int64_t fractionDigits = 0;
  for (;;) {
    c = cursor.peek();
    if (isDigit(c)) {
      s.digits += c;
      if (point) ++fractionDigits;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
    cursor.advance();
  }
  if (s.digits.empty()) return s;
  s.found = true;

  // The exponent letter belongs to the number only when a digit follows it.
  std::int64_t exponent = 0;
  Cursor look = cursor;
  c = upper(look.peek());
  if (c == 'E' || c == 'D') {
    look.advance();
    bool exponentNegative = false;
    c = look.peek();
    if (c == '+' || c == '-') {
      exponentNegative = c == '-';
      look.advance();
    }
    if (isDigit(look.peek())) {
      while (isDigit(c = look.peek())) {
        if (exponent < kExponentCap) exponent = exponent * 10 + (c - '0');
        look.advance();
      }
      if (exponentNegative) exponent = -exponent;
      cursor = look;
    }
  }
  s.exponent = exponent - fractionDigits;
  return s;
}

void stripLeadingZeros(std::string& digits) {
  const std::size_t first = digits.find_first_not_of('0');
  digits.erase(0, first == std::string::npos ? digits.size() : first);
}

// Octal digits regrouped as hexadecimal, so that both go through the
// correctly rounding hexadecimal reader.
std::string octalToHex(const std::string& octal) {
  const std::size_t bits = octal.size() * 3;
  const std::size_t pad = (4 - bits % 4) % 4;
  std::string hex;
  hex.reserve((bits + pad) / 4);
  unsigned nibble = 0;
  std::size_t filled = pad;
  for (char digit : octal) {
    const unsigned value = static_cast<unsigned>(digit - '0');
    for (int bit = 2; bit >= 0; --bit) {
      nibble = (nibble << 1) | ((value >> bit) & 1u);
      if (++filled == 4) {
        hex += "0123456789ABCDEF"[nibble];
        nibble = 0;
        filled = 0;
      }
    }
  }
  return hex;
}

double unsignedValue(std::string digits, int radix) {
  stripLeadingZeros(digits);
  if (digits.empty()) return 0.0;
  if (radix == 8) digits = octalToHex(digits);
  double value = 0.0;
  const auto result =
      std::from_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::hex);
  if (result.ec == std::errc::result_out_of_range) {
    return std::numeric_limits<double>::infinity();
  }
  return value;
}

double decimalValue(std::string digits, std::int64_t exponent) {
  stripLeadingZeros(digits);
  if (digits.empty()) return 0.0;
  const std::size_t last = digits.find_last_not_of('0');
  exponent += static_cast<std::int64_t>(digits.size() - 1 - last);
  digits.erase(last + 1);

  // Decimal exponent of the leading digit; far outside the double range the
  // answer is known without asking the reader.
  const std::int64_t magnitude = exponent + static_cast<std::int64_t>(digits.size()) - 1;
  if (magnitude > 400) return std::numeric_limits<double>::infinity();
  if (magnitude < -400) return 0.0;

  digits += 'e';
  digits += std::to_string(exponent);
  double value = 0.0;
  const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                      std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    return magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return value;
}

double valueOf(const Scanned& s) {
  if (!s.found) return 0.0;
  if (s.radix != 10) return unsignedValue(s.digits, s.radix);
  const double magnitude = decimalValue(s.digits, s.exponent);
  return s.negative ? -magnitude : magnitude;
}

std::string nonFiniteText(double value) {
  if (std::isnan(value)) return "NaN";
  return value < 0 ? "-Infinity" : "Infinity";
}

// "1.5e+7"-like exponents become "1.5E+07": uppercase letter, explicit sign,
// at least two digits.
std::string withExponentForm(std::string text) {
  const std::size_t e = text.find_first_of("eE");
  if (e == std::string::npos) return text;
  std::string mantissa = text.substr(0, e);
  std::string power = text.substr(e + 1);
  char sign = '+';
  if (!power.empty() && (power[0] == '+' || power[0] == '-')) {
    sign = power[0];
    power.erase(0, 1);
  }
  while (power.size() < 2) power.insert(0, 1, '0');
  return mantissa + 'E' + sign + power;
}

std::string generalText(double value, int precision) {
  if (!std::isfinite(value)) return nonFiniteText(value);
  if (value == 0) return "0";
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, precision);
  std::string text(buffer, result.ptr);

  // General form already drops trailing zeros; keep that true for the
  // mantissa whatever the library does.
  const std::size_t e = text.find_first_of("eE");
  std::string mantissa = text.substr(0, e);
  const std::string rest = e == std::string::npos ? std::string() : text.substr(e);
  if (mantissa.find('.') != std::string::npos) {
    while (mantissa.back() == '0') mantissa.pop_back();
    if (mantissa.back() == '.') mantissa.pop_back();
  }
  return withExponentForm(mantissa + rest);
}

template <typename Int>
Int roundTo(double value) {
  const double rounded = std::nearbyint(value);
  // NaN fails both comparisons and lands here too.
  if (!(rounded >= static_cast<double>(std::numeric_limits<Int>::min()) &&
        rounded <= static_cast<double>(std::numeric_limits<Int>::max()))) {
    throw OverflowError();
  }
  return static_cast<Int>(rounded);
}

}  // namespace

double leadingNumber(std::string_view text) {
  Cursor cursor(text, true);
  return valueOf(scan(cursor));
}

std::optional<double> strictNumber(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::nullopt;
  const std::size_t last = text.find_last_not_of(" \t");
  Cursor cursor(text.substr(first, last - first + 1), false);
  const Scanned s = scan(cursor);
  if (!s.found || !cursor.atEnd()) return std::nullopt;
  return valueOf(s);
}

std::string singleText(float value) {
  return generalText(static_cast<double>(value), 7);
}

std::string doubleText(double value) {
  return generalText(value, 15);
}

std::int16_t roundToInt16(double value) {
  return roundTo<std::int16_t>(value);
}

std::int32_t roundToInt32(double value) {
  return roundTo<std::int32_t>(value);
}

double intPart(double value) {
  return std::floor(value);
}

double fixPart(double value) {
  return std::trunc(value);
}

std::string scientificText(double value) {
  if (!std::isfinite(value)) return nonFiniteText(value);
  if (value == 0) value = 0.0;  // no "-0.000E+00"
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 3);
  return withExponentForm(std::string(buffer, result.ptr));
}

// Halfway between the largest float and 2^128: from here on a double rounds
// to infinity as a float.
constexpr double kSingleOverflow = 0x1.ffffffp+127;

std::optional<float> singleOf(double value) {
  if (!(std::fabs(value) < kSingleOverflow)) return std::nullopt;
  return static_cast<float>(value);
}

float toSingle(double value) {
  const std::optional<float> single = singleOf(value);
  if (!single) throw OverflowError();
  return *single;
}

}  // namespace plotvane
