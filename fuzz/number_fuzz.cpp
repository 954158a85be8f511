// The number module on any text: the leading-number parse and the strict
// conversion never fail, agree where the strict one accepts, and the
// number texts read back as the values they were written from.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "base/number_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const double leading = plotvane::leadingNumber(text);
  const std::optional<double> strict = plotvane::strictNumber(text);
  if (strict && !(*strict == leading || (std::isnan(*strict) && std::isnan(leading)))) std::abort();
  if (!std::isfinite(leading)) return 0;
  // 15 significant digits of a double, 7 of a single: written and read
  // back, the text is the same.
  const std::string written = plotvane::doubleText(leading);
  const std::optional<double> back = plotvane::strictNumber(written);
  if (!back || plotvane::doubleText(*back) != written) std::abort();
  if (const std::optional<float> single = plotvane::singleOf(leading)) {
    const std::string singleWritten = plotvane::singleText(*single);
    if (!plotvane::strictNumber(singleWritten)) std::abort();
  }
  try {
    const std::int16_t rounded = plotvane::roundToInt16(leading);
    if (std::fabs(rounded - leading) > 0.5) std::abort();
  } catch (const plotvane::OverflowError&) {
    if (std::fabs(leading) < 32767) std::abort();
  }
  (void)plotvane::scientificText(leading);
  (void)plotvane::intPart(leading);
  (void)plotvane::fixPart(leading);
  return 0;
}
