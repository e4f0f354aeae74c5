// Builds the program's read-me document from its marked-up source:
//   make-readme SOURCE OUTPUT.pgf
// "# " and "## " start headings, "- " bullets, "1. " numbered items, "---" a line and
// "[picture]" the logo; inside text *word* is a keyword and [text](url) a link.
// The output is the same for the same source, so it can be checked in and compared.
#include <cstdio>
#include <string>
#include <vector>

#include "graphics/Graphic.h"
#include "graphics/Pictures.h"
#include "platform/RasterImage.h"
#include "model/CPGData.h"
#include "model/DataOwner.h"
#include "model/PGFFormat.h"
#include "model/PGStyle.h"
#include "platform/FileIO.h"
#include "platform/TextEncoding.h"

namespace pagora {
namespace {

// Text styles of the read-me besides the defaults.
enum : int { kNormal = 0, kKeyword = 3, kLink = 4, kTitle = 6, kHeading = 7 };
// Paragraph styles.
enum : int { kBody = 2, kTitlePara = 3, kHeadingPara = 4, kListPara = 5, kCentered = 1 };

void BuildStyles(TPGStyle& s) {
  for (int i = 0; i < s.TextStyles.Count(); ++i) s.TextStyles[i].Unicode = true;
  TFontInfo& title = s.TextStyles.Add();
  title.Assign(s.TextStyles[1]);
  title.StyleName = "Title";
  title.Size = 20;
  TFontInfo& heading = s.TextStyles.Add();
  heading.Assign(s.TextStyles[2]);
  heading.StyleName = "Heading 2";
  heading.Size = 13;

  TParaInfo& body = s.ParaStyles.Add();
  body.StyleName = "Body";
  body.SpaceAfter = 6;
  TParaInfo& titlePara = s.ParaStyles.Add();
  titlePara.StyleName = "Title";
  titlePara.SpaceAfter = 10;
  titlePara.Alignment = pgaCenter;
  TParaInfo& headingPara = s.ParaStyles.Add();
  headingPara.StyleName = "Heading";
  headingPara.SpaceBefore = 12;
  headingPara.SpaceAfter = 4;
  headingPara.Border.Style = pgbSingle;
  headingPara.Border.Color = 0xC0A080;
  headingPara.Border.VisibleBorders = TPGBooleanRect(false);
  headingPara.Border.VisibleBorders.Bottom = true;
  headingPara.Border.BorderOffsets.Bottom = 2;
  TParaInfo& listPara = s.ParaStyles.Add();
  listPara.StyleName = "List item";
  listPara.SpaceAfter = 3;

  TPGListInfo& numbered = s.ListStyles.Add();
  numbered.StyleName = "Numbered";
  numbered.SetListID(1001);
  TPGListLevel& n0 = numbered.AddLevel();
  n0.ListType = pglstDecimal;
  n0.FormatString = "%0:s.";
  n0.LeftIndent = 28;
  n0.FirstIndent = 0;
  n0.MarkerIndent = 8;
  n0.Font().Size = 10;
  TPGListInfo& bullets = s.ListStyles.Add();
  bullets.StyleName = "Bullets";
  bullets.SetListID(1002);
  TPGListLevel& b0 = bullets.AddLevel();
  b0.ListType = pglstUnicodeBullet;
  b0.FormatStringW = u"\u2022";
  b0.LeftIndent = 28;
  b0.FirstIndent = 0;
  b0.MarkerIndent = 12;
  b0.Font().Size = 10;
}

// Adds a line of text with its inline marks: *keyword* and [text](url).
void AddInline(TCustomPGData& d, const std::string& line, int textStyle, int paraStyle) {
  int para = paraStyle;
  bool added = false;
  std::string plain;
  auto flush = [&] {
    if (plain.empty()) return;
    d.AppendTextUTF16(UTF8ToUTF16(plain), textStyle, para);
    para = -1;
    added = true;
    plain.clear();
  };
  for (std::size_t i = 0; i < line.size();) {
    if (line[i] == '*') {
      const std::size_t end = line.find('*', i + 1);
      if (end != std::string::npos) {
        flush();
        d.AppendTextUTF16(UTF8ToUTF16(line.substr(i + 1, end - i - 1)), kKeyword, para);
        para = -1;
        added = true;
        i = end + 1;
        continue;
      }
    }
    if (line[i] == '[') {
      const std::size_t close = line.find("](", i);
      const std::size_t end = close == std::string::npos ? close : line.find(')', close);
      if (end != std::string::npos) {
        flush();
        d.AppendTextUTF16(UTF8ToUTF16(line.substr(i + 1, close - i - 1)), kLink, para,
                          TPGTag::Str(line.substr(close + 2, end - close - 2)));
        para = -1;
        added = true;
        i = end + 1;
        continue;
      }
    }
    plain += line[i++];
  }
  flush();
  if (!added) d.AppendTextUTF16(u"", textStyle, paraStyle);  // an empty line still makes a paragraph
}

// The logo: a blue rounded square with a white page and lines of text on it.
std::unique_ptr<TGraphic> Logo() {
  TRasterImage r;
  r.Width = r.Height = 72;
  r.Pixels.resize(static_cast<std::size_t>(r.Width * r.Height));
  for (int y = 0; y < r.Height; ++y)
    for (int x = 0; x < r.Width; ++x) {
      const int dx = x < 12 ? 12 - x : x > r.Width - 13 ? x - (r.Width - 13) : 0;
      const int dy = y < 12 ? 12 - y : y > r.Height - 13 ? y - (r.Height - 13) : 0;
      const bool inside = dx * dx + dy * dy <= 144;
      const bool page = x >= 20 && x < 52 && y >= 14 && y < 58;
      const bool textLine = page && x >= 25 && x < 47 && y >= 20 && y < 52 && (y - 20) % 6 < 2 && !(y >= 44 && x >= 40);
      std::uint32_t p = MakeARGB(255, 255, 255, 255);
      if (inside) p = textLine ? MakeARGB(255, 40, 90, 170) : page ? MakeARGB(255, 250, 250, 250)
                                                               : MakeARGB(255, 40 + y, 100 + y, 200);
      r.Pixels[static_cast<std::size_t>(y * r.Width + x)] = p;
    }
  auto bitmap = std::make_unique<TBitmap>();
  if (!bitmap->LoadFromRaster(r)) return nullptr;
  return bitmap;
}

bool Build(const std::string& sourcePath, const std::string& outputPath, std::string& error) {
  std::string source;
  if (!ReadFileBytes(sourcePath, source, error)) return false;
  TPGStyle style;
  BuildStyles(style);
  TPGDocumentSettings settings;
  settings.Style = &style;
  settings.Options.Include(pgoTagsArePChars);  // links keep their addresses in string tags
  settings.PGFOptions = {pgfoSavePicturesBody, pgfoSaveTextStyles, pgfoSaveParaStyles};
  TCustomPGData doc(&settings);

  std::size_t start = 0;
  while (start < source.size()) {
    std::size_t end = source.find('\n', start);
    if (end == std::string::npos) end = source.size();
    std::string line = source.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (line.rfind("# ", 0) == 0) {
      AddInline(doc, line.substr(2), kTitle, kTitlePara);
    } else if (line.rfind("## ", 0) == 0) {
      AddInline(doc, line.substr(3), kHeading, kHeadingPara);
    } else if (line.rfind("- ", 0) == 0) {
      doc.ApplyListToPara(-1, 1, 0, 1, false, kListPara);
      AddInline(doc, line.substr(2), kNormal, -1);
    } else if (line.size() > 2 && line[0] >= '0' && line[0] <= '9' && line.find(". ") != std::string::npos) {
      doc.ApplyListToPara(-1, 0, 0, 1, false, kListPara);
      AddInline(doc, line.substr(line.find(". ") + 2), kNormal, -1);
    } else if (line == "---") {
      doc.AppendBreak(1, 0, 0xC0A080);
    } else if (line == "[picture]") {
      std::unique_ptr<TGraphic> logo = Logo();
      if (!logo) {
        error = "the logo could not be made";
        return false;
      }
      doc.AppendPicture("logo", std::move(logo), kCentered);
      doc.SetStrProp(doc.CountItems() - 1, pgspAlt, "The Pagora logo");
    } else {
      AddInline(doc, line, kNormal, kBody);
    }
  }
  return SavePGFFile(doc, outputPath, {}, &error);
}

}  // namespace
}  // namespace pagora

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make-readme SOURCE OUTPUT.pgf\n");
    return 2;
  }
  pagora::RegisterStandardGraphicClasses();
  std::string error;
  if (!pagora::Build(argv[1], argv[2], error)) {
    std::fprintf(stderr, "make-readme: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
