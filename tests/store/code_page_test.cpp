// The code page follows the locale's language, and text goes into it and back unchanged or not
// at all.
#include "store/code_page.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace wf {
namespace {

// Sets the locale variables for one test and puts the old values back.
class LocaleEnvironment {
 public:
  LocaleEnvironment() {
    for (Saved& s : saved_) {
      const char* value = std::getenv(s.name);
      if (value != nullptr) s.value = value;
    }
  }
  ~LocaleEnvironment() {
    for (const Saved& s : saved_) {
      if (s.value)
        setenv(s.name, s.value->c_str(), 1);
      else
        unsetenv(s.name);
    }
  }
  void set(const char* lcAll, const char* lcCtype, const char* lang) {
    const char* values[] = {lcAll, lcCtype, lang};
    for (int i = 0; i < 3; ++i) {
      if (values[i] != nullptr)
        setenv(saved_[i].name, values[i], 1);
      else
        unsetenv(saved_[i].name);
    }
  }

 private:
  struct Saved {
    const char* name;
    std::optional<std::string> value;
  };
  Saved saved_[3] = {{"LC_ALL", {}}, {"LC_CTYPE", {}}, {"LANG", {}}};
};

std::string encoded(const CodePage& page, std::u16string_view text) {
  std::string out;
  if (!page.encode(text, out)) return "(refused)";
  return out;
}

TEST(CodePageTest, TheLocalesLanguageChoosesTheCodePage) {
  // Each locale's own word goes into its code page byte for byte; a letter from another script
  // is refused, never replaced.
  struct Case {
    const char* locale;
    int codePage;
    std::u16string word;
    std::string bytes;
    std::u16string foreign;
  };
  const Case cases[] = {
      {"de_DE.UTF-8", 1252, u"Stra\u00DFe f\u00FCr \u20AC",
       "Stra\xDF"
       "e f\xFCr \x80",
       u"\u0141"},
      {"en_GB.UTF-8", 1252, u"\u00A3 caf\u00E9", "\xA3 caf\xE9", u"\u03A9mega"},
      {"pl_PL.UTF-8", 1250, u"\u0141\u00F3d\u017A",
       "\xA3\xF3"
       "d\x9F",
       u"\u00E6"},
      {"cs_CZ.UTF-8", 1250, u"Ji\u0159\u00ED \u010Cern\u00FD",
       "Ji\xF8\xED \xC8"
       "ern\xFD",
       u"\u00DE"},
      {"el_GR.UTF-8", 1253, u"\u03A9\u03BC\u03AD\u03B3\u03B1", "\xD9\xEC\xDD\xE3\xE1", u"\u0416"},
      {"ru_RU.UTF-8", 1251, u"\u0416\u0438\u0433\u0443\u043B\u0438", "\xC6\xE8\xE3\xF3\xEB\xE8",
       u"\u00E9"},
  };
  LocaleEnvironment environment;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.locale);
    environment.set(nullptr, nullptr, c.locale);
    ASSERT_EQ(codePageFromEnvironment(), c.codePage);
    const CodePage& page = CodePage::get(c.codePage);
    EXPECT_EQ(encoded(page, c.word), c.bytes);
    EXPECT_EQ(page.decode(c.bytes), c.word);
    EXPECT_EQ(encoded(page, c.foreign), "(refused)");
    EXPECT_EQ(page.missing(c.word), U"");
  }
}

TEST(CodePageTest, LocaleNamesAndWhichVariableCounts) {
  const std::pair<const char*, int> names[] = {
      {"C", 1252},
      {"POSIX", 1252},
      {"", 1252},
      {"fr_FR", 1252},
      {"hu_HU.ISO-8859-2", 1250},
      {"sr_RS", 1251},
      {"sr_RS@latin", 1250},
      {"sr_Latn_RS", 1250},
      {"uk_UA.UTF-8", 1251},
      {"kk_KZ", 1251},
      {"tr_TR", 1254},
      {"az_AZ", 1254},
      {"he_IL", 1255},
      {"fa_IR", 1256},
      {"lt_LT", 1257},
      {"vi_VN", 1258},
      {"th_TH.UTF-8", 874},
      {"ja_JP.UTF-8", 1252},
  };
  for (const auto& [name, codePage] : names) EXPECT_EQ(codePageForLocale(name), codePage) << name;

  LocaleEnvironment environment;
  environment.set(nullptr, "pl_PL.UTF-8", "ru_RU.UTF-8");
  EXPECT_EQ(codePageFromEnvironment(), 1250);  // LC_CTYPE before LANG
  environment.set("el_GR.UTF-8", "pl_PL.UTF-8", "ru_RU.UTF-8");
  EXPECT_EQ(codePageFromEnvironment(), 1253);  // LC_ALL overrides both
  environment.set("", "", "ru_RU.UTF-8");
  EXPECT_EQ(codePageFromEnvironment(), 1251);  // empty values do not count
  environment.set(nullptr, nullptr, nullptr);
  EXPECT_EQ(codePageFromEnvironment(), 1252);
}

TEST(CodePageTest, EveryByteOfEveryPageSurvivesARoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  for (int number : {874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258}) {
    SCOPED_TRACE(number);
    const CodePage& page = CodePage::get(number);
    EXPECT_EQ(encoded(page, page.decode(all)), all);
  }
  // Undefined bytes keep a character of their own that nothing else maps to.
  EXPECT_EQ(CodePage::get(1252).toUnicode(0x81), u'\u0081');
  EXPECT_EQ(CodePage::get(1253).toUnicode(0xD2), u'\uF7D2');
  EXPECT_THROW(CodePage::get(437), std::invalid_argument);
}

TEST(CodePageTest, WhatIsRefusedIsNamedOnceEach) {
  const CodePage& page = CodePage::get(1252);
  EXPECT_EQ(page.missing(u"\u0141ada \u0141\u00F3d\u017A \U0001F697 \xD800"),
            std::u32string(U"\u0141\u017A\U0001F697") + char32_t(0xD800));
  // A letter the page lacks as one character goes in as its parts when the page has them all.
  EXPECT_EQ(encoded(CodePage::get(1258), u"Vi\u1EC7t"), "Vi\xEA\xF2t");
  EXPECT_EQ(encoded(page, u"\u212B"), "\xC5");  // the angstrom sign is canonically A with ring
  EXPECT_EQ(encoded(page, u"\u1EC7"), "(refused)");
}

}  // namespace
}  // namespace wf
