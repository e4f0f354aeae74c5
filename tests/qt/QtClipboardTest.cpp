#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <string>

#include "QtViewerWindow.h"
#include "model/PGFFormat.h"
#include "qt/QtClipboard.h"

namespace pagora {
namespace {

using namespace std::string_literals;

QByteArray Bytes(const std::string& s) { return QByteArray(s.data(), static_cast<qsizetype>(s.size())); }

const QMimeData& Published() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  EXPECT_NE(data, nullptr);
  static const QMimeData empty;
  return data ? *data : empty;
}

// Puts MIME data on the clipboard as another program would.
void Offer(const char* type, const QByteArray& bytes) {
  auto* data = new QMimeData;
  data->setData(type, bytes);
  QGuiApplication::clipboard()->setMimeData(data);
}

struct TWriteCase {
  const char* Name;
  TClipFormat Format;
  std::string Bytes;
  std::vector<const char*> Types;  // each holds Expected
  std::string Expected;
};

TEST(QtClipboard, EachFormatIsWrittenAsItsMimeTypes) {
  const TWriteCase cases[] = {
      {"PGF keeps its length prefix", TClipFormat::PGF, "\x03\0\0\0abc"s, {kPGFMimeType}, "\x03\0\0\0abc"s},
      {"RTF under both names", TClipFormat::RTF, "{\\rtf1 x}", {kRTFMimeType, kRTFAltMimeType}, "{\\rtf1 x}"},
      {"HTML", TClipFormat::HTML, "<b>x</b>", {kHTMLMimeType}, "<b>x</b>"},
      {"8-bit text is read in code page 1252", TClipFormat::Text, "caf\xE9 \x80", {"text/plain"},
       "caf\xC3\xA9 \xE2\x82\xAC"},
      {"8-bit text ends at a zero", TClipFormat::Text, "abc\0junk"s, {"text/plain"}, "abc"},
      {"Unicode text without its closing zero", TClipFormat::UnicodeText, "\xE9\0\xAC\x20\0\0"s, {"text/plain"},
       "\xC3\xA9\xE2\x82\xAC"},
  };
  TQtClipboard clipboard;
  for (const TWriteCase& c : cases) {
    SCOPED_TRACE(c.Name);
    ASSERT_TRUE(clipboard.Open());
    clipboard.Clear();
    clipboard.SetData(c.Format, c.Bytes);
    clipboard.Close();
    for (const char* type : c.Types) EXPECT_EQ(Published().data(type), Bytes(c.Expected)) << type;
  }
}

TEST(QtClipboard, UnicodeTextWinsOverTextInEitherOrder) {
  const std::string unicode = "\x41\0\0\0"s;  // "A"
  for (bool unicodeFirst : {true, false}) {
    TQtClipboard clipboard;
    ASSERT_TRUE(clipboard.Open());
    clipboard.Clear();
    if (unicodeFirst) clipboard.SetData(TClipFormat::UnicodeText, unicode);
    clipboard.SetData(TClipFormat::Text, "8-bit");
    if (!unicodeFirst) clipboard.SetData(TClipFormat::UnicodeText, unicode);
    clipboard.Close();
    EXPECT_EQ(Published().text(), "A") << (unicodeFirst ? "Unicode first" : "8-bit first");
  }
}

TEST(QtClipboard, ReadsWhatOthersOffer) {
  TQtClipboard clipboard;
  Offer(kRichTextMimeType, "{\\rtf1 y}");
  EXPECT_TRUE(clipboard.HasFormat(TClipFormat::RTF));
  EXPECT_EQ(clipboard.GetData(TClipFormat::RTF), "{\\rtf1 y}");
  EXPECT_FALSE(clipboard.HasFormat(TClipFormat::PGF));
  EXPECT_FALSE(clipboard.HasFormat(TClipFormat::Text));

  Offer("text/plain", "\xE2\x82\xAC\xE2\x84\xA2");  // the euro and trade-mark signs
  EXPECT_TRUE(clipboard.HasFormat(TClipFormat::Text));
  EXPECT_TRUE(clipboard.HasFormat(TClipFormat::UnicodeText));
  EXPECT_EQ(clipboard.GetData(TClipFormat::Text), "\x80\x99");
  EXPECT_EQ(clipboard.GetData(TClipFormat::UnicodeText), "\xAC\x20\x22\x21\0\0"s);
  EXPECT_EQ(clipboard.GetData(TClipFormat::HTML), "");
}

TEST(QtClipboard, OnlyClearingOrSettingReplacesTheClipboard) {
  TQtClipboard clipboard;
  Offer("text/plain", "kept");
  ASSERT_TRUE(clipboard.Open());
  clipboard.Close();
  EXPECT_EQ(clipboard.GetData(TClipFormat::Text), "kept");

  ASSERT_TRUE(clipboard.Open());
  clipboard.Clear();
  clipboard.Close();
  EXPECT_FALSE(clipboard.HasFormat(TClipFormat::Text));
}

TEST(QtClipboard, BitmapsGoAsImages) {
  TRasterImage image{2, 1, {MakeARGB(255, 255, 0, 0), MakeARGB(0, 0, 0, 0)}};
  TQtClipboard clipboard;
  ASSERT_TRUE(clipboard.Open());
  clipboard.Clear();
  clipboard.SetImage(image);
  clipboard.Close();
  const QImage published = qvariant_cast<QImage>(Published().imageData());
  ASSERT_EQ(published.size(), QSize(2, 1));
  EXPECT_EQ(published.pixel(0, 0), qRgb(255, 0, 0));
  EXPECT_EQ(qAlpha(published.pixel(1, 0)), 0);

  ASSERT_TRUE(clipboard.HasFormat(TClipFormat::Bitmap));
  const std::string bmp = clipboard.GetData(TClipFormat::Bitmap);
  EXPECT_EQ(QImage::fromData(Bytes(bmp), "BMP").size(), QSize(2, 1));
}

// What one viewer copies, another reads back: the native format whole, and the text.
TEST(QtClipboard, ViewerToViewerRoundTrip) {
  test::TViewerWindow from("First line\nSecond line\n");
  test::TViewerWindow to("");
  from.Core().SelectAll();
  ASSERT_TRUE(from.Core().CopySelection());
  const std::u16string copied = from.Core().GetSelectionTextW();
  ASSERT_NE(copied.find(u"Second line"), std::u16string::npos);

  EXPECT_EQ(Published().text().toStdU16String(), copied);
  const QByteArray wrapped = Published().data(kPGFMimeType);
  std::string_view pgf;
  const std::string_view bytes(wrapped.constData(), static_cast<std::size_t>(wrapped.size()));
  ASSERT_TRUE(UnwrapPGFFromClipboard(bytes, pgf));
  ASSERT_TRUE(LoadPGFFromStream(to.Core().PGData(), pgf));
  to.Core().Format();
  to.Core().SelectAll();
  EXPECT_EQ(to.Core().GetSelectionTextW(), copied);
}

}  // namespace
}  // namespace pagora
