#include "store/number_text.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace wf {

namespace {

// The 15 significant digits of |value| and its decimal exponent: |value| = d.ddd... x 10^exponent.
struct Digits {
  char digits[15];
  int exponent = 0;
};

Digits significantDigits(double value) {
  Digits result;
  char buffer[64];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                    std::chars_format::scientific, 14);
  (void)error;
  // d.dddddddddddddde[+-]xx
  result.digits[0] = buffer[0];
  std::memcpy(result.digits + 1, buffer + 2, 14);
  const char* e = std::strchr(buffer, 'e');
  int exponent = 0;
  std::from_chars(e + (e[1] == '+' ? 2 : 1), end, exponent);
  result.exponent = exponent;
  return result;
}

// |value| rounded to 15 significant digits and then to `decimals` places (halves away from
// zero), as integer and fraction digit strings.
void fixedDigits(double value, int decimals, std::string& integerPart, std::string& fractionPart) {
  integerPart.clear();
  fractionPart.clear();
  if (value == 0 || !std::isfinite(value)) {
    integerPart = "0";
    fractionPart.assign(static_cast<std::size_t>(decimals), '0');
    return;
  }
  Digits d = significantDigits(value);
  // Digit k (0-based) has the place value 10^(exponent - k); keep those down to 10^-decimals.
  int keep = d.exponent + 1 + decimals;
  std::string kept;
  if (keep > 0) {
    int available = keep < 15 ? keep : 15;
    kept.assign(d.digits, d.digits + available);
    if (keep < 15 && d.digits[keep] >= '5') {
      int i = static_cast<int>(kept.size()) - 1;
      while (i >= 0 && kept[static_cast<std::size_t>(i)] == '9')
        kept[static_cast<std::size_t>(i--)] = '0';
      if (i >= 0)
        ++kept[static_cast<std::size_t>(i)];
      else {
        kept.insert(kept.begin(), '1');
        ++keep;
      }
    }
    if (static_cast<int>(kept.size()) < keep)
      kept.append(static_cast<std::size_t>(keep) - kept.size(), '0');
  } else if (keep == 0 && d.digits[0] >= '5') {
    kept = "1";
    keep = 1;
  } else {
    keep = 0;
  }
  // kept holds `keep` digits, the last `decimals` of them after the point.
  int integerDigits = keep - decimals;
  if (integerDigits <= 0) {
    integerPart = "0";
    fractionPart.assign(static_cast<std::size_t>(-integerDigits), '0');
    fractionPart += kept;
  } else {
    integerPart = kept.substr(0, static_cast<std::size_t>(integerDigits));
    fractionPart = kept.substr(static_cast<std::size_t>(integerDigits));
  }
  std::size_t nonZero = integerPart.find_first_not_of('0');
  integerPart = nonZero == std::string::npos ? "0" : integerPart.substr(nonZero);
}

bool allZero(const std::string& integerPart, const std::string& fractionPart) {
  return integerPart.find_first_not_of('0') == std::string::npos &&
         fractionPart.find_first_not_of('0') == std::string::npos;
}

std::string grouped(const std::string& integerPart, char separator) {
  if (separator == '\0') return integerPart;
  std::string out;
  std::size_t n = integerPart.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) out += separator;
    out += integerPart[i];
  }
  return out;
}

std::string trimBlanks(const std::string& text) {
  std::size_t b = text.find_first_not_of(' ');
  if (b == std::string::npos) return std::string();
  std::size_t e = text.find_last_not_of(' ');
  return text.substr(b, e - b + 1);
}

}  // namespace

std::string formatCurrency(double value, const FormatSettings& fs) {
  if (!std::isfinite(value)) return formatGeneral(value, fs);
  int decimals =
      fs.currencyDecimals < 0 ? 0 : (fs.currencyDecimals > 18 ? 18 : fs.currencyDecimals);
  std::string integerPart;
  std::string fractionPart;
  fixedDigits(value, decimals, integerPart, fractionPart);
  std::string number = grouped(integerPart, fs.thousandSeparator);
  if (decimals > 0) number += fs.decimalSeparator + fractionPart;
  const std::string& c = fs.currencyString;
  if (value >= 0 || allZero(integerPart, fractionPart)) {
    switch (fs.currencyFormat) {
      case 1: return number + c;
      case 2: return c + " " + number;
      case 3: return number + " " + c;
      default: return c + number;
    }
  }
  switch (fs.negCurrFormat) {
    case 1: return "-" + c + number;
    case 2: return c + "-" + number;
    case 3: return c + number + "-";
    case 4: return "(" + number + c + ")";
    case 5: return "-" + number + c;
    case 6: return number + "-" + c;
    case 7: return number + c + "-";
    case 8: return "-" + number + " " + c;
    case 9: return "-" + c + " " + number;
    case 10: return number + " " + c + "-";
    case 11: return c + " " + number + "-";
    case 12: return c + " -" + number;
    case 13: return number + "- " + c;
    case 14: return "(" + c + " " + number + ")";
    case 15: return "(" + number + " " + c + ")";
    default: return "(" + c + number + ")";
  }
}

std::string formatFixed(double value, int decimals, const FormatSettings& fs) {
  if (!std::isfinite(value)) return formatGeneral(value, fs);
  if (decimals < 0) decimals = 0;
  std::string integerPart;
  std::string fractionPart;
  fixedDigits(value, decimals, integerPart, fractionPart);
  std::string text = (value < 0 && !allZero(integerPart, fractionPart)) ? "-" : "";
  text += integerPart;
  if (decimals > 0) text += fs.decimalSeparator + fractionPart;
  return text;
}

std::string formatGeneral(double value, const FormatSettings& fs) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (value == 0) return "0";
  Digits d = significantDigits(value);
  std::string digits(d.digits, 15);
  digits.erase(digits.find_last_not_of('0') + 1);
  std::string sign = value < 0 ? "-" : "";
  if (d.exponent >= 15 || d.exponent < -5) {
    std::string mantissa = digits.substr(0, 1);
    if (digits.size() > 1) mantissa += fs.decimalSeparator + digits.substr(1);
    return sign + mantissa + "E" + std::to_string(d.exponent);
  }
  if (d.exponent < 0)
    return sign + "0" + fs.decimalSeparator +
           std::string(static_cast<std::size_t>(-d.exponent - 1), '0') + digits;
  std::size_t integerDigits = static_cast<std::size_t>(d.exponent) + 1;
  if (digits.size() <= integerDigits)
    return sign + digits + std::string(integerDigits - digits.size(), '0');
  return sign + digits.substr(0, integerDigits) + fs.decimalSeparator +
         digits.substr(integerDigits);
}

bool parseFloatText(const std::string& text, const FormatSettings& fs, double& value) {
  std::string s = trimBlanks(text);
  std::string plain;
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) plain += s[i++];
  bool digits = false;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
    plain += s[i++];
    digits = true;
  }
  if (i < s.size() && s[i] == fs.decimalSeparator) {
    plain += '.';
    ++i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
      plain += s[i++];
      digits = true;
    }
  }
  if (!digits) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    plain += 'e';
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) plain += s[i++];
    bool exponentDigits = false;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
      plain += s[i++];
      exponentDigits = true;
    }
    if (!exponentDigits) return false;
  }
  if (i != s.size()) return false;
  const char* begin = plain.data() + (plain[0] == '+' ? 1 : 0);
  double parsed = 0;
  auto [end, error] = std::from_chars(begin, plain.data() + plain.size(), parsed);
  if (error != std::errc() || end != plain.data() + plain.size() || !std::isfinite(parsed))
    return false;
  value = parsed;
  return true;
}

bool parseIntegerText(const std::string& text, std::int64_t& value) {
  std::string s = trimBlanks(text);
  if (s.empty()) return false;
  const char* begin = s.data() + (s[0] == '+' ? 1 : 0);
  if (s[0] == '+' && (s.size() < 2 || s[1] == '-')) return false;
  std::int64_t parsed = 0;
  auto [end, error] = std::from_chars(begin, s.data() + s.size(), parsed);
  if (error != std::errc() || end != s.data() + s.size()) return false;
  value = parsed;
  return true;
}

}  // namespace wf
