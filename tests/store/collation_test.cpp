// The table's string order agrees with the ICU collator, fast path and prefixes included.
#include <gtest/gtest.h>

#include <unicode/ucnv.h>
#include <unicode/ucol.h>

#include <random>

#include "store/code_page.h"
#include "store/collation.h"
#include "table_fixture.h"

namespace wf::test {
namespace {

// The collator's verdict, converting Windows-1252 bytes with ICU's own converter.
class Reference {
 public:
  explicit Reference(const char* locale) {
    UErrorCode status = U_ZERO_ERROR;
    collator_ = ucol_open(locale, &status);
    converter_ = ucnv_open("windows-1252", &status);
  }
  ~Reference() {
    ucol_close(collator_);
    ucnv_close(converter_);
  }
  int compare(const std::string& a, const std::string& b) const {
    std::u16string ua = toUtf16(a);
    std::u16string ub = toUtf16(b);
    UCollationResult r = ucol_strcoll(
        collator_, reinterpret_cast<const UChar*>(ua.data()), static_cast<int32_t>(ua.size()),
        reinterpret_cast<const UChar*>(ub.data()), static_cast<int32_t>(ub.size()));
    return r == UCOL_LESS ? -1 : (r == UCOL_GREATER ? 1 : 0);
  }

 private:
  std::u16string toUtf16(const std::string& s) const {
    std::u16string out(s.size() * 2 + 2, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t n = ucnv_toUChars(converter_, reinterpret_cast<UChar*>(out.data()),
                              static_cast<int32_t>(out.size()), s.data(),
                              static_cast<int32_t>(s.size()), &status);
    out.resize(static_cast<std::size_t>(n));
    return out;
  }
  UCollator* collator_ = nullptr;
  UConverter* converter_ = nullptr;
};

int sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

// Short strings from a small alphabet, so that equal prefixes, case pairs, accents and
// punctuation meet often.
std::string randomText(std::mt19937& random) {
  static const std::string alphabet =
      std::string("aAbBeE -.'0\xE9\xC9\xE6\xB7lL") + '\x8A' + "ss\xDF";
  std::uniform_int_distribution<int> length(0, 10);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::string s;
  for (int n = length(random); n > 0; --n) s += alphabet[pick(random)];
  return s;
}

TEST(CollationTest, AgreesWithTheCollatorOnEveryPair) {
  for (const char* locale : {"en_US", "de_DE", "sv_SE", "da_DK", ""}) {
    auto collation = Collation::forLocale(locale);
    Reference reference(locale);
    std::mt19937 random(5);
    for (int i = 0; i < 20000; ++i) {
      std::string a = randomText(random);
      std::string b = randomText(random);
      int expected = reference.compare(a, b);
      ASSERT_EQ(sign(collation->compare(a, b)), expected)
          << locale << ": '" << a << "' '" << b << "'";
      int byPrefix = Collation::comparePrefixes(collation->prefix(a), collation->prefix(b));
      if (byPrefix != 0) {
        ASSERT_EQ(byPrefix, expected) << locale << " prefix: '" << a << "' '" << b << "'";
      }
    }
  }
  EXPECT_TRUE(Collation::forLocale("en_US")->hasFastPath());
  EXPECT_FALSE(Collation::forLocale("da_DK")->hasFastPath());  // "aa" is one letter there
}

TEST(CollationTest, TableOrderMatchesTheCollator) {
  useTestLocale();
  Reference reference("en_US");
  VehicleTable v;
  v.table.createDataSet();
  std::mt19937 random(9);
  for (int i = 0; i < 3000; ++i) v.add(randomText(random));
  std::vector<std::string> makes = v.makes();
  std::vector<int> numbers = v.numbers();
  for (std::size_t i = 1; i < makes.size(); ++i) {
    int c = reference.compare(makes[i - 1], makes[i]);
    ASSERT_LE(c, 0) << "'" << makes[i - 1] << "' before '" << makes[i] << "'";
    if (c == 0) {
      ASSERT_LT(numbers[i - 1], numbers[i]);  // equal keys in the order they came
    }
  }
}

TEST(CollationTest, ReadsTheBytesInTheCodePageItWasMadeFor) {
  // Byte A3 is "Ł" in 1250, which Polish orders between L and M; in 1252 it is "£",
  // which comes before every letter.
  const std::string lodz =
      "\xA3\xF3"
      "d\x9F";
  const int before = CodePage::active().number();
  CodePage::setActive(1250);
  auto central = Collation::forLocale("pl_PL");
  CodePage::setActive(1252);
  auto western = Collation::forLocale("pl_PL");
  CodePage::setActive(before);
  EXPECT_GT(central->compare(lodz, "Lublin"), 0);
  EXPECT_LT(central->compare(lodz, "Mazda"), 0);
  EXPECT_LT(western->compare(lodz, "Lublin"), 0);
}

}  // namespace
}  // namespace wf::test
