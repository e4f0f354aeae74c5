// Document items: the base of every item, text items, and the families of non-text
// items. An item refers to styles by number; its text is kept beside it by the document.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>
#include <typeindex>

#include "model/Checkpoint.h"
#include "model/DeviceScale.h"
#include "model/ItemPaint.h"
#include "model/ItemTag.h"
#include "model/ItemTypes.h"
#include "model/StyleTypes.h"
#include "model/StyleUsage.h"

namespace pagora {

class ICanvas;
class TCustomPGData;
class TPGFWriter;
class TPGFReadContext;
class TPGFHeaderFields;
class TGraphic;
class TPGStyle;
class IEmbeddedControl;

// What fitting an item into a line gives: its descent below the baseline and a
// horizontal offset of its box.
struct TPGFitResult {
  int Descent = 1;
  int HOffset = 0;
};

class TCustomPGItemInfo {
public:
  explicit TCustomPGItemInfo(TCustomPGData* container = nullptr);
  virtual ~TCustomPGItemInfo();
  TCustomPGItemInfo(const TCustomPGItemInfo&) = delete;
  TCustomPGItemInfo& operator=(const TCustomPGItemInfo&) = delete;

  int StyleNo = 0;
  int ParaNo = 0;
  std::unique_ptr<TPGCPInfo> Checkpoint;
  TPGTag Tag;

  // Tool-tip text (UTF-8; empty = none). Kept out of line: few items have one.
  [[nodiscard]] const std::string& Hint() const noexcept;
  // Line ends become spaces: a hint lives on one line of stored documents.
  void SetHint(std::string_view hint);

  [[nodiscard]] TPGItemFlags Flags() const noexcept { return flags_; }
  [[nodiscard]] bool HasFlag(TPGItemFlag f) const noexcept { return flags_.Contains(f); }
  // Continues-paragraph, page-break and line-break exclude one another; the line-break
  // flag is refused for items that occupy whole lines.
  void SetFlag(TPGItemFlag f, bool on);
  // Replaces all flags, keeping the same exclusions (continues-paragraph wins, then page break).
  void SetFlags(TPGItemFlags flags);

  [[nodiscard]] bool IsText() const noexcept { return StyleNo >= 0; }
  // The item starts a paragraph: neither continues one nor starts a line inside one.
  [[nodiscard]] bool StartsPara() const noexcept {
    return !flags_.Contains(pgifContinuesPara) && !flags_.Contains(pgifLineBreakBefore);
  }
  [[nodiscard]] bool StartsLine() const noexcept { return !flags_.Contains(pgifContinuesPara); }

  // ---- what the rest of the system asks an item
  [[nodiscard]] virtual bool QueryTrait(TPGItemTrait trait) const;
  [[nodiscard]] virtual bool QueryStyledTrait(TPGItemStyledTrait trait, const TPGStyle* style) const;

  // Smallest width the item needs in a line (20 pixels unless the class knows better).
  [[nodiscard]] virtual int GetMinWidth(const TPGDeviceScale* scale, ICanvas* canvas, TCustomPGData* container) const;
  [[nodiscard]] virtual const TGraphic* GetGraphic() const { return nullptr; }
  [[nodiscard]] virtual int ContentWidth(const TPGStyle* style) const;
  [[nodiscard]] virtual int ContentHeight(const TPGStyle* style) const;
  [[nodiscard]] virtual int FrameWidth() const { return 0; }
  [[nodiscard]] virtual int FrameHeight() const { return 0; }
  // Draws an inline object with its box's top-left corner at (x, y) (for list markers:
  // where the content begins); baseline is the line's baseline.
  virtual void PaintObject(int x, int y, int baseline, const TPGItemPaint& paint) const;
  // Draws an item that occupies its lines across left..right, its line starting at top.
  virtual void PaintAcross(int left, int right, int top, const TPGItemPaint& paint) const;
  virtual TPGFitResult FitToWidth(int availableWidth, const TPGDeviceScale* scale, TCustomPGData* container,
                                  ICanvas* canvas);

  // Called by the container around putting the item into its list; text may be changed.
  virtual void BeforeInsert(TCustomPGData* container, std::string& text, bool safe);
  virtual void AfterInsert(TCustomPGData* container, int itemNo);

  // Copies StyleNo, ParaNo, flags and hint, and the class's own fields when the source is
  // of the class; never the checkpoint or the tag.
  virtual void CopyPropertiesFrom(const TCustomPGItemInfo& source);
  [[nodiscard]] virtual bool HoldsControl(const IEmbeddedControl* control) const;

  // The item as plain text (8-bit unless the item answers pgitUnicodeText and unicode is
  // asked for). lineWidth is the width of a text line in characters.
  [[nodiscard]] virtual std::string AsText(int lineWidth, TCustomPGData* container, const std::string& text,
                                           const std::string& path, bool textOnly, bool unicode) const;

  virtual void MarkUsedStyles(TPGStyleUsage& usage) const;
  virtual void RenumberStyles(const TPGStyleRenumbering& renumbering);

  virtual bool SetIntProp(TPGItemIntProp prop, int value);
  virtual bool GetIntProp(TPGItemIntProp prop, int& value) const;
  virtual bool SetStrProp(TPGItemStrProp prop, const std::string& value);
  virtual bool GetStrProp(TPGItemStrProp prop, std::string& value) const;
  // A property no built-in class knows; ignored by all of them.
  virtual void SetCustomProp(const std::string& name, const std::string& value);

  // ---- the native format (the records of the built-in classes are in PGFItemRecords.cpp)
  // Writes the item's record (after its checkpoint record); paraNo is -1 when it continues
  // its paragraph. Text items are written by the writer itself.
  virtual void WritePGFRecord(TPGFWriter& writer, int itemNo, int paraNo, const std::string& name) const;
  // The optional property lines ("keyword=value"), in their written order.
  virtual void PGFPropertyLines(std::vector<std::string>& lines) const;
  // Reads what follows the tag on the record's header line.
  virtual bool ParsePGFHeaderExtras(TPGFHeaderFields& fields, TPGFReadContext& context);
  // One line of the record: line 0 is the name (for most kinds), the rest property lines
  // and bodies. False stops the read.
  virtual bool ParsePGFRecordLine(std::string_view line, int lineNo, int lineCount, TPGFReadContext& context,
                                  std::string& name);

  virtual void PrepareForRead(TPGLoadFormat) {}
  virtual void FinishRead(TPGLoadFormat) {}

  // Documents held inside the item (table cells), in order.
  [[nodiscard]] virtual int SubDocumentCount() const { return 0; }
  [[nodiscard]] virtual TCustomPGData* SubDocument(int /*index*/) const { return nullptr; }

  // An item of the same class with its class defaults.
  [[nodiscard]] virtual std::unique_ptr<TCustomPGItemInfo> CreateEmpty(TCustomPGData* container) const = 0;

private:
  TPGItemFlags flags_;
  std::unique_ptr<std::string> hint_;
};

class TPGTextItemInfo : public TCustomPGItemInfo {
public:
  using TCustomPGItemInfo::TCustomPGItemInfo;
  [[nodiscard]] bool QueryStyledTrait(TPGItemStyledTrait trait, const TPGStyle* style) const override;
  void MarkUsedStyles(TPGStyleUsage& usage) const override;
  void RenumberStyles(const TPGStyleRenumbering& renumbering) override;
  [[nodiscard]] std::unique_ptr<TCustomPGItemInfo> CreateEmpty(TCustomPGData* container) const override;

  // The text style, with the paragraph-default number resolved through the paragraph style.
  [[nodiscard]] int ActualStyleNo(const TPGStyle* style) const;
};

class TPGNonTextItemInfo : public TCustomPGItemInfo {
public:
  using TCustomPGItemInfo::TCustomPGItemInfo;
  bool Unremovable = false;  // the editor refuses to delete it

  [[nodiscard]] virtual int BoxWidth() const { return 0; }
  [[nodiscard]] virtual int BoxHeight() const { return 0; }
  // Horizontal offset of the item's box from its position in the line.
  [[nodiscard]] virtual int BoxOffset() const { return 0; }

  void CopyPropertiesFrom(const TCustomPGItemInfo& source) override;
  bool SetIntProp(TPGItemIntProp prop, int value) override;
  bool GetIntProp(TPGItemIntProp prop, int& value) const override;
};

// Items that always occupy whole lines (breaks, tables).
class TPGFullLineItemInfo : public TPGNonTextItemInfo {
public:
  using TPGNonTextItemInfo::TPGNonTextItemInfo;
  [[nodiscard]] bool QueryTrait(TPGItemTrait trait) const override;
};

// Inline objects with a rectangle: pictures, controls, bullets, markers.
class TPGRectItemInfo : public TPGNonTextItemInfo {
public:
  using TPGNonTextItemInfo::TPGNonTextItemInfo;
  int MinHeightOnPage = 0;  // 0: never split across pages; else the least height per page
  TPGVAlign VAlign = pgvaBaseline;
  int VShift = 0;
  bool VShiftAbs = false;  // VShift in pixels instead of percent of the height

  [[nodiscard]] int Spacing() const noexcept { return spacing_; }
  void SetSpacing(int value) noexcept { spacing_ = value < 0 ? 0 : value; }

  [[nodiscard]] virtual int BoxDescent() const { return spacing_; }
  // The frames of the current and of a selected object around the box at (x, y).
  void PaintStateFrames(int x, int y, const TPGItemPaint& paint) const;
  [[nodiscard]] int FrameWidth() const override { return spacing_; }
  [[nodiscard]] int FrameHeight() const override { return spacing_; }

  void CopyPropertiesFrom(const TCustomPGItemInfo& source) override;
  bool SetIntProp(TPGItemIntProp prop, int value) override;
  bool GetIntProp(TPGItemIntProp prop, int& value) const override;

private:
  int spacing_ = 1;  // empty border around the object in pixels
};

// ---- creating items

using TPGItemFactory = std::function<std::unique_ptr<TCustomPGItemInfo>(TCustomPGData*)>;

// An item for a style number: a text item for 0 and above, the built-in class of a
// non-text type, or a registered class; nothing for an unknown type.
[[nodiscard]] std::unique_ptr<TCustomPGItemInfo> CreateItem(int styleNo, TCustomPGData* container);
// A new item of the same class with the properties, the tag and, when asked, the checkpoint.
[[nodiscard]] std::unique_ptr<TCustomPGItemInfo> CopyItem(const TCustomPGItemInfo& item, TCustomPGData* container,
                                                          bool copyCheckpoint);

// The class that new text items are made of.
void SetTextItemClass(TPGItemFactory factory);

// Adds an item class for a type number below -9. The same pair again does nothing; a number
// taken by another class, or one of -9 and above, raises EPagoraError.
void RegisterItemType(int styleNo, std::type_index itemClass, TPGItemFactory factory);
template <class TItem>
void RegisterItemType(int styleNo) {
  RegisterItemType(styleNo, std::type_index(typeid(TItem)),
                   [](TCustomPGData* c) { return std::make_unique<TItem>(c); });
}
[[nodiscard]] bool IsItemTypeRegistered(int styleNo);

}  // namespace pagora
