// Locale-aware, case-sensitive comparison of strings in the tables' code page, as tables order
// their string keys. Backed by an ICU collator; strings of printable ASCII take a fast path whose
// order is checked against the collator when the collation is built, and every string gets a 64-bit
// prefix that decides most comparisons without touching the strings.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct UCollator;

namespace wf {

class CodePage;

class Collation {
 public:
  // The collation of an ICU locale name ("en_US", "de_DE", "" for the root order) for strings
  // in the active code page; shared and cached. Falls back to the root order when the locale
  // has no collator.
  static std::shared_ptr<const Collation> forLocale(const std::string& locale);
  // The user's default locale: the one set by setDefaultLocale, else ICU's default (a C or
  // POSIX locale, which carries no language, uses the root order).
  static std::shared_ptr<const Collation> userDefault();
  static void setDefaultLocale(const std::string& locale);
  // The ICU locale of a Windows locale identifier; empty when it names no valid locale.
  static std::string localeForLcid(std::uint32_t lcid);

  Collation(const Collation&) = delete;
  Collation& operator=(const Collation&) = delete;
  ~Collation();

  const std::string& locale() const { return locale_; }
  // <0, 0, >0 like strcmp, in the locale's order with case significant.
  int compare(std::string_view a, std::string_view b) const;

  // Prefix keys: a string's prefix encodes the primary order of its first characters.
  // comparePrefixes gives -1 or 1 when the prefixes alone decide, 0 when the strings must be
  // compared. kNoValuePrefix sorts before every string's prefix.
  static constexpr std::uint64_t kNoValuePrefix = 8;
  std::uint64_t prefix(std::string_view s) const;
  static int comparePrefixes(std::uint64_t a, std::uint64_t b);
  // Whether every character position a prefix has room for is known (its low bits count them):
  // such prefixes compare as plain unsigned integers.
  static bool prefixFullyKnown(std::uint64_t prefix) {
    return (prefix & kKnownCountMask) == kPrefixChars;
  }
  // Bit layout of a prefix: bit 63 says the field has a value; bits 62..7 hold the primary ranks
  // of the first eight characters (7 bits each, 0 = end of string); bits 3..0 count how many of
  // those positions are known (a character outside the fast path ends the known part).
  static constexpr int kPrefixChars = 8;
  static constexpr std::uint64_t kKnownCountMask = 0xF;

  // Whether the fast path is in use (for tests and benchmarks).
  bool hasFastPath() const { return fast_; }

 private:
  Collation(std::string locale, const CodePage& codePage);
  void buildFastPath();
  bool verifyFastPath() const;
  int compareFast(std::string_view a, std::string_view b) const;
  int compareIcu(std::string_view a, std::string_view b) const;

  std::string locale_;
  const CodePage& codePage_;  // pages live as long as the program
  UCollator* collator_ = nullptr;
  bool fast_ = false;
  int asciiLead_ = 0;  // ASCII characters a contraction may take before another character
  std::uint8_t primary_[128] = {};   // primary rank of each printable ASCII character (1..)
  std::uint8_t tertiary_[128] = {};  // rank among characters of equal primary
};

}  // namespace wf
