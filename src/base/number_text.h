// Every place where a number meets text goes through this module: reading the
// leading number of a field, strict conversion, number-to-text, and the
// integer conversions with their overflow rule.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace plotvane {

// Raised where a value does not fit the integer it is converted to. The
// handler boundary turns it into a message box.
class OverflowError : public std::runtime_error {
 public:
  OverflowError() : std::runtime_error("Overflow") {}
};

// The number at the start of a text: blanks (space, tab, CR, LF) anywhere are
// skipped; optional sign, digits with at most one ".", optional exponent with
// E or D; "&H" and "&O" read unsigned hexadecimal and octal integers. Reading
// stops at the first character that does not fit; no number gives 0. Values
// beyond the double range give +/-infinity.
double leadingNumber(std::string_view text);

// The whole text must be a number (the same grammar, "." only, blanks allowed
// at both ends, at least one digit). Returns nothing when it is not.
std::optional<double> strictNumber(std::string_view text);

// Shortest text of a value with at most 7 (single) or 15 (double) significant
// digits: no leading blank, no trailing zeros or point, "." always, exponent
// form "1.5E+07" / "1E-05" when the decimal exponent is below -4 or at least
// the digit count. -0 gives "0".
std::string singleText(float value);
std::string doubleText(double value);

// Round to the nearest integer, halves to the even neighbour; OverflowError
// outside the target range (and for NaN).
std::int16_t roundToInt16(double value);
std::int32_t roundToInt32(double value);

// The value stored as single precision: nothing (singleOf) or OverflowError
// (toSingle) when it lies beyond the single-precision range or is not finite.
std::optional<float> singleOf(double value);
float toSingle(double value);

// Int: toward minus infinity. Fix: toward zero.
double intPart(double value);
double fixPart(double value);

// The read-out pattern "0.000E+00": 12.3456 -> "1.235E+01", 0 -> "0.000E+00".
std::string scientificText(double value);

}  // namespace plotvane
