#include "framework/text_codec.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace wf {
namespace {

struct CodecCase {
  const char16_t* text;
  std::string bytes;
};

TEST(TextCodec, EncodesIntoWindows1252) {
  const std::vector<CodecCase> cases = {
      {u"", ""},
      {u"Ford Fiesta 1.2", "Ford Fiesta 1.2"},
      {u"Citro\u00EBn caf\u00E9", "Citro\xEBn caf\xE9"},
      {u"\u20AC 12,50", "\x80 12,50"},  // euro sign sits at 0x80
      {u"\u201Cquoted\u201D \u2013 \u0160koda", "\x93quoted\x94 \x96 \x8Akoda"},
      {u"\u00FF\u00A0", "\xFF\xA0"},
      {u"\u03A9hm \u65E5\u672C", "?hm ??"},  // outside the code page
      {u"car \U0001F697!", "car ?!"},        // one "?" per character, not per unit
      {u"lone \xD800 half", "lone ? half"},
  };
  for (const CodecCase& c : cases) {
    const QString text = QString::fromUtf16(c.text);
    SCOPED_TRACE(text.toStdString());
    EXPECT_EQ(toWindows1252(text), c.bytes);
    if (c.bytes.find('?') == std::string::npos) {
      EXPECT_EQ(fromWindows1252(c.bytes), text);
    }
  }
}

TEST(TextCodec, DecodesEveryByteAndRoundTrips) {
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  const QString text = fromWindows1252(all);
  ASSERT_EQ(text.size(), 255);
  EXPECT_EQ(text[0x80 - 1], QChar(0x20AC));
  EXPECT_EQ(text[0x9F - 1], QChar(0x0178));
  EXPECT_EQ(text[0xE9 - 1], QChar(0x00E9));
  EXPECT_EQ(text[0x81 - 1], QChar(0x0081));  // undefined in the code page: kept as is
  EXPECT_EQ(toWindows1252(text), all);
}

TEST(TextCodec, MessagesAreUtf8OrElseWindows1252) {
  EXPECT_EQ(messageText("Cannot open file /tmp/caf\xC3\xA9.cds"),
            QString::fromUtf16(u"Cannot open file /tmp/caf\u00E9.cds"));
  EXPECT_EQ(messageText("'12\xE9' is not a valid integer value"),
            QString::fromUtf16(u"'12\u00E9' is not a valid integer value"));
  EXPECT_EQ(exceptionText(std::runtime_error("tblVehicle: Dataset not in edit or insert mode")),
            QStringLiteral("tblVehicle: Dataset not in edit or insert mode"));
}

}  // namespace
}  // namespace wf
