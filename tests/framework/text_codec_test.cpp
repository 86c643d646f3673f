#include "framework/text_codec.h"

#include "store/code_page.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace wf {
namespace {

struct CodecCase {
  const char16_t* text;
  std::string bytes;
};

// Runs a test under one code page and puts the previous one back.
class ActiveCodePage {
 public:
  explicit ActiveCodePage(int number) : before_(CodePage::active().number()) {
    CodePage::setActive(number);
  }
  ~ActiveCodePage() { CodePage::setActive(before_); }

 private:
  int before_;
};

TEST(TextCodec, EncodesIntoWindows1252) {
  ActiveCodePage western(1252);
  const std::vector<CodecCase> cases = {
      {u"", ""},
      {u"Ford Fiesta 1.2", "Ford Fiesta 1.2"},
      {u"Citro\u00EBn caf\u00E9", "Citro\xEBn caf\xE9"},
      {u"\u20AC 12,50", "\x80 12,50"},  // euro sign sits at 0x80
      {u"\u201Cquoted\u201D \u2013 \u0160koda", "\x93quoted\x94 \x96 \x8Akoda"},
      {u"\u00FF\u00A0", "\xFF\xA0"},
  };
  for (const CodecCase& c : cases) {
    const QString text = QString::fromUtf16(c.text);
    SCOPED_TRACE(text.toStdString());
    EXPECT_EQ(toCodePage(text), c.bytes);
    EXPECT_EQ(fromCodePage(c.bytes), text);
  }
}

TEST(TextCodec, TextTheCodePageCannotHoldIsNeverWrittenWithStandIns) {
  ActiveCodePage western(1252);
  struct Refused {
    const char16_t* text;
    const char16_t* missing;
  };
  const Refused cases[] = {
      {u"\u03A9hm \u65E5\u672C", u"\u03A9\u65E5\u672C"},
      {u"car \U0001F697!", u"\U0001F697"},  // one character, not two units
      {u"\u0141ada \u0141\u00F3d\u017A", u"\u0141\u017A"},
  };
  for (const Refused& c : cases) {
    const QString text = QString::fromUtf16(c.text);
    SCOPED_TRACE(text.toStdString());
    std::string bytes;
    EXPECT_FALSE(tryToCodePage(text, bytes));
    EXPECT_EQ(charactersOutsideCodePage(text), QString::fromUtf16(c.missing));
    try {
      toCodePage(text);
      ADD_FAILURE() << "encoded";
    } catch (const TextOutsideCodePage& failure) {
      EXPECT_EQ(failure.characters(), QString::fromUtf16(c.missing));
    }
  }
}

TEST(TextCodec, FollowsTheActiveCodePage) {
  const QString lodz = QString::fromUtf16(u"\u0141\u00F3d\u017A");
  {
    ActiveCodePage central(1250);
    EXPECT_EQ(toCodePage(lodz),
              "\xA3\xF3"
              "d\x9F");
    EXPECT_EQ(fromCodePage("\xA3\xF3"
                           "d\x9F"),
              lodz);
    EXPECT_EQ(messageText("'\xA3\xF3"
                          "d\x9F' is not a valid integer value"),
              QStringLiteral("'%1' is not a valid integer value").arg(lodz));
  }
  ActiveCodePage western(1252);
  EXPECT_EQ(fromCodePage("\xA3\xF3"
                         "d\x9F"),
            QString::fromUtf16(u"\u00A3\u00F3d\u0178"));
}

TEST(TextCodec, DecodesEveryByteAndRoundTrips) {
  ActiveCodePage western(1252);
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  const QString text = fromCodePage(all);
  ASSERT_EQ(text.size(), 255);
  EXPECT_EQ(text[0x80 - 1], QChar(0x20AC));
  EXPECT_EQ(text[0x9F - 1], QChar(0x0178));
  EXPECT_EQ(text[0xE9 - 1], QChar(0x00E9));
  EXPECT_EQ(text[0x81 - 1], QChar(0x0081));  // undefined in the code page: kept as is
  EXPECT_EQ(toCodePage(text), all);
}

TEST(TextCodec, MessagesAreUtf8OrElseWindows1252) {
  ActiveCodePage western(1252);
  EXPECT_EQ(messageText("Cannot open file /tmp/caf\xC3\xA9.cds"),
            QString::fromUtf16(u"Cannot open file /tmp/caf\u00E9.cds"));
  EXPECT_EQ(messageText("'12\xE9' is not a valid integer value"),
            QString::fromUtf16(u"'12\u00E9' is not a valid integer value"));
  EXPECT_EQ(exceptionText(std::runtime_error("tblVehicle: Dataset not in edit or insert mode")),
            QStringLiteral("tblVehicle: Dataset not in edit or insert mode"));
}

}  // namespace
}  // namespace wf
