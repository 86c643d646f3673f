#include "store/collation.h"

#include "store/code_page.h"

#include <unicode/ucol.h>
#include <unicode/ucoleitr.h>
#include <unicode/uloc.h>
#include <unicode/uset.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace wf {

namespace {

constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kLastPrintable = 0x7E;

bool isPrintableAscii(unsigned char c) { return c >= kFirstPrintable && c <= kLastPrintable; }

bool allPrintableAscii(std::string_view s) {
  for (unsigned char c : s)
    if (!isPrintableAscii(c)) return false;
  return true;
}

// Converts into a small stack buffer, spilling to the heap for long strings.
class Utf16Text {
 public:
  Utf16Text(std::string_view s, const CodePage& codePage) {
    if (s.size() > kInline) heap_.resize(s.size());
    UChar* out = s.size() > kInline ? heap_.data() : inline_;
    for (std::size_t i = 0; i < s.size(); ++i)
      out[i] = codePage.toUnicode(static_cast<unsigned char>(s[i]));
    data_ = out;
    size_ = static_cast<int32_t>(s.size());
  }
  const UChar* data() const { return data_; }
  int32_t size() const { return size_; }

 private:
  static constexpr std::size_t kInline = 128;
  UChar inline_[kInline];
  std::vector<UChar> heap_;
  const UChar* data_ = nullptr;
  int32_t size_ = 0;
};

std::mutex& cacheMutex() {
  static std::mutex mutex;
  return mutex;
}

std::string& defaultLocaleOverride() {
  static std::string locale;
  return locale;
}

bool& defaultLocaleSet() {
  static bool set = false;
  return set;
}

// The prefix's bit layout is described beside kPrefixChars in the header.
constexpr int kPrefixChars = Collation::kPrefixChars;
constexpr int kRankBits = 7;
constexpr std::uint64_t kHasValueBit = std::uint64_t{1} << 63;

}  // namespace

std::shared_ptr<const Collation> Collation::forLocale(const std::string& locale) {
  const CodePage& codePage = CodePage::active();
  static std::map<std::pair<std::string, int>, std::shared_ptr<const Collation>> cache;
  std::lock_guard<std::mutex> lock(cacheMutex());
  const std::pair<std::string, int> key(locale, codePage.number());
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  std::shared_ptr<const Collation> collation(new Collation(locale, codePage));
  cache.emplace(key, collation);
  return collation;
}

void Collation::setDefaultLocale(const std::string& locale) {
  std::lock_guard<std::mutex> lock(cacheMutex());
  defaultLocaleOverride() = locale;
  defaultLocaleSet() = true;
}

std::shared_ptr<const Collation> Collation::userDefault() {
  std::string locale;
  {
    std::lock_guard<std::mutex> lock(cacheMutex());
    if (defaultLocaleSet()) locale = defaultLocaleOverride();
  }
  if (locale.empty() && !defaultLocaleSet()) {
    locale = uloc_getDefault();
    // A C or POSIX environment names no language; its tailoring would be plain byte order.
    if (locale == "en_US_POSIX" || locale == "c" || locale == "C" || locale.empty()) locale = "";
  }
  return forLocale(locale);
}

std::string Collation::localeForLcid(std::uint32_t lcid) {
  char buffer[ULOC_FULLNAME_CAPACITY] = {};
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = uloc_getLocaleForLCID(lcid, buffer, sizeof buffer, &status);
  if (U_FAILURE(status) || length <= 0) return std::string();
  return std::string(buffer, static_cast<std::size_t>(length));
}

Collation::Collation(std::string locale, const CodePage& codePage)
    : locale_(std::move(locale)), codePage_(codePage) {
  UErrorCode status = U_ZERO_ERROR;
  collator_ = ucol_open(locale_.c_str(), &status);
  if (U_FAILURE(status) || collator_ == nullptr) {
    status = U_ZERO_ERROR;
    collator_ = ucol_open("", &status);
  }
  buildFastPath();
}

Collation::~Collation() { ucol_close(collator_); }

int Collation::compareIcu(std::string_view a, std::string_view b) const {
  Utf16Text ua(a, codePage_);
  Utf16Text ub(b, codePage_);
  switch (ucol_strcoll(collator_, ua.data(), ua.size(), ub.data(), ub.size())) {
    case UCOL_LESS: return -1;
    case UCOL_GREATER: return 1;
    default: return 0;
  }
}

int Collation::compareFast(std::string_view a, std::string_view b) const {
  const auto* pa = reinterpret_cast<const unsigned char*>(a.data());
  const auto* pb = reinterpret_cast<const unsigned char*>(b.data());
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    if (pa[i] == pb[i]) continue;
    int d = int(primary_[pa[i]]) - int(primary_[pb[i]]);
    if (d != 0) return d < 0 ? -1 : 1;
  }
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  for (std::size_t i = 0; i < common; ++i) {
    if (pa[i] == pb[i]) continue;
    int d = int(tertiary_[pa[i]]) - int(tertiary_[pb[i]]);
    if (d != 0) return d < 0 ? -1 : 1;
  }
  return 0;
}

int Collation::compare(std::string_view a, std::string_view b) const {
  if (fast_ && allPrintableAscii(a) && allPrintableAscii(b)) return compareFast(a, b);
  return compareIcu(a, b);
}

std::uint64_t Collation::prefix(std::string_view s) const {
  std::uint64_t key = kHasValueBit;
  int known = 0;
  if (fast_) {
    for (; known < kPrefixChars; ++known) {
      if (static_cast<std::size_t>(known) >= s.size()) {
        known = kPrefixChars;  // the end of the string is known: the rest stays 0
        break;
      }
      unsigned char c = static_cast<unsigned char>(s[static_cast<std::size_t>(known)]);
      if (!isPrintableAscii(c)) {
        known = std::max(0, known - asciiLead_);
        key &= ~((std::uint64_t{1} << (63 - kRankBits * known)) - 1);
        break;
      }
      key |= std::uint64_t{primary_[c]} << (63 - kRankBits * (known + 1));
    }
  }
  return key | static_cast<std::uint64_t>(known);
}

int Collation::comparePrefixes(std::uint64_t a, std::uint64_t b) {
  int known = static_cast<int>(std::min(a & kKnownCountMask, b & kKnownCountMask));
  std::uint64_t mask = ~((std::uint64_t{1} << (63 - kRankBits * known)) - 1);
  std::uint64_t ma = a & mask;
  std::uint64_t mb = b & mask;
  if (ma == mb) return 0;
  return ma < mb ? -1 : 1;
}

void Collation::buildFastPath() {
  fast_ = false;
  UErrorCode status = U_ZERO_ERROR;
  // Settings under which one character is not one collation element compared level by level.
  if (ucol_getAttribute(collator_, UCOL_FRENCH_COLLATION, &status) == UCOL_ON ||
      ucol_getAttribute(collator_, UCOL_ALTERNATE_HANDLING, &status) == UCOL_SHIFTED ||
      ucol_getAttribute(collator_, UCOL_CASE_LEVEL, &status) == UCOL_ON ||
      ucol_getAttribute(collator_, UCOL_NUMERIC_COLLATION, &status) == UCOL_ON || U_FAILURE(status))
    return;

  // No contraction or context may be made of printable ASCII characters alone. One that starts
  // with ASCII characters and goes on with another character changes how those leading
  // characters sort, so a prefix stops that many characters before such a character.
  USet* contractions = uset_openEmpty();
  ucol_getContractionsAndExpansions(collator_, contractions, nullptr, true, &status);
  bool clash = U_FAILURE(status);
  int asciiLead = 0;
  for (int32_t i = 0; !clash && i < uset_getItemCount(contractions); ++i) {
    UChar32 start = 0;
    UChar32 end = 0;
    UChar text[64];
    UErrorCode itemStatus = U_ZERO_ERROR;
    int32_t length = uset_getItem(contractions, i, &start, &end, text, 64, &itemStatus);
    if (length <= 0 || U_FAILURE(itemStatus)) continue;  // single code points: no context
    int lead = 0;
    while (lead < length && text[lead] >= kFirstPrintable && text[lead] <= kLastPrintable) ++lead;
    if (lead == length) clash = true;
    asciiLead = std::max(asciiLead, lead);
  }
  uset_close(contractions);
  if (clash) return;
  asciiLead_ = asciiLead;

  // Every printable character is exactly one collation element with a primary weight.
  for (unsigned c = kFirstPrintable; c <= kLastPrintable; ++c) {
    UChar ch = static_cast<UChar>(c);
    UCollationElements* elements = ucol_openElements(collator_, &ch, 1, &status);
    if (U_FAILURE(status)) return;
    int count = 0;
    bool primary = true;
    for (int32_t order = ucol_next(elements, &status); order != UCOL_NULLORDER && U_SUCCESS(status);
         order = ucol_next(elements, &status)) {
      ++count;
      if (ucol_primaryOrder(order) == 0) primary = false;
    }
    ucol_closeElements(elements);
    if (U_FAILURE(status) || count != 1 || !primary) return;
  }

  // Ranks: primary from the order at primary strength, tertiary within each primary group.
  UCollator* primaryOnly = ucol_clone(collator_, &status);
  if (U_FAILURE(status)) return;
  ucol_setStrength(primaryOnly, UCOL_PRIMARY);
  std::vector<UChar> chars;
  for (unsigned c = kFirstPrintable; c <= kLastPrintable; ++c)
    chars.push_back(static_cast<UChar>(c));
  std::stable_sort(chars.begin(), chars.end(), [&](UChar x, UChar y) {
    return ucol_strcoll(collator_, &x, 1, &y, 1) == UCOL_LESS;
  });
  int rank = 0;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    if (i == 0 || ucol_strcoll(primaryOnly, &chars[i - 1], 1, &chars[i], 1) != UCOL_EQUAL) ++rank;
    primary_[chars[i]] = static_cast<std::uint8_t>(rank);
  }
  ucol_close(primaryOnly);
  if (rank >= (1 << kRankBits)) return;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    bool samePrimary = i > 0 && primary_[chars[i - 1]] == primary_[chars[i]];
    tertiary_[chars[i]] = static_cast<std::uint8_t>(samePrimary ? tertiary_[chars[i - 1]] + 1 : 1);
  }
  fast_ = true;
  if (!verifyFastPath()) fast_ = false;
}

// Orders every printable string of one and two characters by the fast path and checks each
// neighbouring pair against the collator.
bool Collation::verifyFastPath() const {
  std::vector<std::string> samples;
  for (unsigned c = kFirstPrintable; c <= kLastPrintable; ++c) {
    samples.emplace_back(1, static_cast<char>(c));
    for (unsigned d = kFirstPrintable; d <= kLastPrintable; ++d)
      samples.push_back({static_cast<char>(c), static_cast<char>(d)});
  }
  std::sort(samples.begin(), samples.end(),
            [&](const std::string& a, const std::string& b) { return compareFast(a, b) < 0; });
  for (std::size_t i = 1; i < samples.size(); ++i) {
    int fast = compareFast(samples[i - 1], samples[i]);
    int icu = compareIcu(samples[i - 1], samples[i]);
    if ((fast < 0) != (icu < 0) || (fast == 0) != (icu == 0)) return false;
  }
  return true;
}

}  // namespace wf
