// Number <-> text conversions in the locale's notation: money, fixed-point, the general
// 15-digit form, and reading typed numbers.
#pragma once

#include <cstdint>
#include <string>

#include "store/format_settings.h"

namespace wf {

// The amount in the locale's currency format: rounded to 15 significant digits, then to the
// currency decimals (halves away from zero), with thousands separators, symbol and pattern.
std::string formatCurrency(double value, const FormatSettings& settings);

// Fixed-point text with the given decimals, the locale's decimal separator, no thousands
// separators and no symbol (how money is edited).
std::string formatFixed(double value, int decimals, const FormatSettings& settings);

// The general number form: up to 15 significant digits, no trailing zeros, the locale's
// decimal separator, exponent form only for very large or small values (1234.5, 0.1, 1E20).
std::string formatGeneral(double value, const FormatSettings& settings);

// Reads a number typed in the locale's notation: optional blanks around it, an optional sign,
// digits with at most one decimal separator, an optional exponent. False when the text is
// anything else.
bool parseFloatText(const std::string& text, const FormatSettings& settings, double& value);

// Reads a whole number: optional blanks, optional sign, decimal digits. False when the text is
// not one or does not fit in 64 bits.
bool parseIntegerText(const std::string& text, std::int64_t& value);

}  // namespace wf
