// Dumps a document that holds one item of every kind, with checkpoints, tags, hints and
// list styles, none of which plain text can bring in. cli_test.sh checks the JSON.
#include <iostream>
#include <memory>
#include <string>

#include "DocumentDump.h"
#include "JsonWriter.h"
#include "graphics/Graphic.h"
#include "graphics/ImageList.h"
#include "model/CPGData.h"
#include "model/DataOwner.h"
#include "model/PGStyle.h"
#include "model/PictureItems.h"
#include "platform/EmbeddedControl.h"

namespace {

using namespace pagora;

class FakeGraphic : public TGraphic {
public:
  std::string ClassName() const override { return "TFakeGraphic"; }
  int Width() const override { return 16; }
  int Height() const override { return 8; }
  std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<FakeGraphic>(*this); }
  bool LoadFromBytes(std::string_view) override { return true; }
  std::string SaveToBytes() const override { return "12345"; }
};

class FakeImageList : public TPGImageList {
public:
  int Width() const override { return 10; }
  int Height() const override { return 10; }
  int Count() const override { return 4; }
};

class FakeControl : public IEmbeddedControl {
public:
  std::string ClassName() const override { return "TButton"; }
  int Width() const override { return 80; }
  int Height() const override { return 24; }
  void SetBounds(const TRect&) override {}
  void SetVisible(bool visible) override { visible_ = visible; }
  bool Visible() const override { return visible_; }
  bool CanFocus() const override { return true; }
  void SetAttached(bool) override {}

private:
  bool visible_ = true;
};

}  // namespace

int main() {
  TPGStyle style;
  TFontInfo& cyrillic = style.TextStyles.Add();  // style 6: 8-bit text in code page 1251
  cyrillic.StyleName = "Cyrillic";
  cyrillic.Charset = RUSSIAN_CHARSET;
  cyrillic.Protection = {pgprStyleProtect, pgprStickToBottom};
  style.TextStyles[0].StyleName = std::string("Bad \xFF name");

  TPGListInfo& bullets = style.ListStyles.Add();
  bullets.SetListID(12345);
  TPGListLevel& level = bullets.AddLevel();
  level.Font().Size = 12;
  level.FormatStringW = u"\u2605";
  TPGListLevel& numbered = bullets.AddLevel();
  numbered.ListType = pglstDecimal;
  numbered.FormatString = "%0:s.";
  numbered.Options = {pgloLegalStyleNumbering};
  style.ListStyles.Add();  // no identifier drawn yet

  TPGDocumentSettings settings;
  settings.Style = &style;
  TCustomPGData data(&settings);
  FakeImageList images;
  images.Tag = 5;

  data.AppendCheckpoint("start", true, TPGTag::Int(7));
  data.AppendText8("Plain", 0, 0, TPGTag::Str("note"));
  data.ItemAt(0).SetHint("tip \"quoted\"\t\x01");
  data.ItemAt(0).Checkpoint->Persistent = true;
  data.AppendText8("\xCF\xF0\xE8", 6, -1, TPGTag::Int(42));
  data.AppendBreak(3, 1, clRed);
  data.AppendPicture("pic", std::make_unique<FakeGraphic>(), 0, pgvaMiddle);
  data.AppendHotPicture("hot", nullptr, -1);
  data.AppendBullet("bullet", 2, &images, -1);
  data.AppendHotspot("spot", 1, 3, &images, -1);
  data.AppendControl("button", std::make_unique<FakeControl>(), -1);
  data.AppendText8("abc", 0, 1);
  data.ItemAt(data.CountItems() - 1).SetFlag(pgifUnicode, true);  // three bytes claimed as UTF-16

  auto& picture = dynamic_cast<TPGGraphicItemInfo&>(data.ItemAt(3));
  picture.ShownWidth = 32;
  picture.Alt = "a picture";
  picture.FileName = "pic.png";

  pagora::cli::JsonWriter json(std::cout);
  pagora::cli::DumpDocument(json, data, style);
  return json.Finish() && std::cout ? 0 : 1;
}
