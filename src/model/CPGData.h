// A document: the ordered list of items grouped into paragraphs, the chain of
// checkpoints, and the operations that build, query and convert it without any layout.
// Every document is one of its descendants: viewer and editor documents, table cells,
// printing copies.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/Checkpoint.h"
#include "model/DataOwner.h"
#include "model/ItemTag.h"
#include "model/ItemTypes.h"
#include "model/PGFTypes.h"
#include "model/PGItem.h"
#include "model/StyleTypes.h"
#include "platform/CodePages.h"
#include "platform/Colors.h"

namespace pagora {

class TGraphic;
class TPGImageList;
class TPGMarkerItemInfo;
class TPGMarkerList;
class IEmbeddedControl;
class TPGStyle;

// One entry of a document: the item and its text (the content of a text item, in the
// code page of its style or as UTF-16LE bytes; the name of any other item).
struct TPGItemEntry {
  std::string Text;
  std::unique_ptr<TCustomPGItemInfo> Item;
};

// What ReadImageItem gives for a bullet or hot spot.
struct TPGImageItemInfo {
  std::string Name;
  int ImageIndex = 0;
  TPGImageList* ImageList = nullptr;
  TPGTag Tag;
};

class TCustomPGData {
public:
  explicit TCustomPGData(IPGDataOwner* owner = nullptr);
  virtual ~TCustomPGData();
  TCustomPGData(const TCustomPGData&) = delete;
  TCustomPGData& operator=(const TCustomPGData&) = delete;

  // ---- the owner's settings (a nested document asks its parent)
  [[nodiscard]] IPGDataOwner* Owner() const noexcept { return owner_; }
  void SetOwner(IPGDataOwner* owner) noexcept { owner_ = owner; }
  [[nodiscard]] virtual TCustomPGData* GetParentData() const { return nullptr; }
  // For a document held inside an item: that item's number in the parent and which of its
  // documents this is; -1 for a top document.
  [[nodiscard]] virtual int HolderItemNo() const { return -1; }
  [[nodiscard]] virtual int HolderSubDocumentIndex() const { return -1; }
  // The document of a viewer or editor (not a table cell, not a cell's editor): the one
  // that stores styles and document properties with its content.
  [[nodiscard]] virtual bool IsMainDocument() const { return GetParentData() == nullptr; }
  // Set while the document is read as a document nested in an item.
  [[nodiscard]] bool ReadingNested() const noexcept { return readingNested_; }
  void SetReadingNested(bool on) noexcept { readingNested_ = on; }
  // The style maps of the read in progress (kept by the top document).
  [[nodiscard]] TPGFStyleMaps& PGFStyleMaps();
  // The pending checkpoint taken out (and uncounted), or put back (and counted).
  [[nodiscard]] std::unique_ptr<TPGCPInfo> TakePendingCheckpoint();
  void SetPendingCheckpoint(std::unique_ptr<TPGCPInfo> checkpoint);
  // How a reader puts the first item it adds: the editor's document may join it with the
  // text at the position. Moves p past what it added; false stops the read.
  virtual bool InsertFirstReadItem(int& p, std::string text, std::unique_ptr<TCustomPGItemInfo> item);
  [[nodiscard]] TCustomPGData* GetRootData();
  [[nodiscard]] TPGStyle* GetStyle() const;
  [[nodiscard]] TPGOptions GetOptions() const;
  [[nodiscard]] TPGBiDiMode GetBiDiMode() const;
  [[nodiscard]] const std::string& GetDelimiters() const;
  [[nodiscard]] bool TagsAreStrings() const { return GetOptions().Contains(pgoTagsArePChars); }
  // Whether an item may carry a page break (every document unless a descendant says no).
  [[nodiscard]] virtual bool SupportsPageBreaks() const { return true; }

  void RaiseItemAction(TPGItemAction action, TCustomPGItemInfo* item, std::string& text);
  void RaiseControlAction(TPGControlAction action, int itemNo, IEmbeddedControl* control);
  void SaveComponentToFile(const std::string& path, IEmbeddedControl* control, TPGSaveFormat format,
                           std::string& out);
  // The signal editing gives when it refuses input: a beep when the style sheet wants sound.
  void SignalRefusal();

  // ---- items
  [[nodiscard]] int CountItems() const noexcept { return static_cast<int>(items_.size()); }
  [[nodiscard]] bool IsEmpty() const noexcept { return items_.empty(); }
  [[nodiscard]] TCustomPGItemInfo& ItemAt(int n) const;
  [[nodiscard]] int IndexOfItem(const TCustomPGItemInfo* item) const;
  [[nodiscard]] const std::string& TextOf(int n) const;
  // Sets the stored bytes; UTF-16 text must have an even byte count.
  void SetTextOf(int n, std::string text);
  // The text as UTF-16, converting 8-bit text from its style's code page.
  [[nodiscard]] std::u16string TextOfW(int n) const;
  // Length in characters (UTF-16 code units for Unicode text).
  [[nodiscard]] int ItemLength(int n) const;

  [[nodiscard]] int EffectiveStyleOf(int n) const;
  [[nodiscard]] int ParaOf(int n) const { return ItemAt(n).ParaNo; }
  [[nodiscard]] TPGItemFlags FlagsOf(int n) const { return ItemAt(n).Flags(); }
  [[nodiscard]] bool StartsPara(int n) const { return ItemAt(n).StartsPara(); }
  [[nodiscard]] bool StartsLine(int n) const { return ItemAt(n).StartsLine(); }
  [[nodiscard]] int ParaFirstItem(int n) const;
  [[nodiscard]] int ParaLastItem(int n) const;
  [[nodiscard]] int LineFirstItem(int n) const;
  void WidenToParas(int& first, int& last) const;
  void WidenToLines(int& first, int& last) const;
  [[nodiscard]] bool HasPageBreak(int n) const;
  void SetPageBreak(int n, bool value);

  [[nodiscard]] const TPGTag& TagOf(int n) const { return ItemAt(n).Tag; }
  void SetTagOf(int n, TPGTag tag) { ItemAt(n).Tag = std::move(tag); }
  bool GetIntProp(int n, TPGItemIntProp prop, int& value) const { return ItemAt(n).GetIntProp(prop, value); }
  bool SetIntProp(int n, TPGItemIntProp prop, int value) { return ItemAt(n).SetIntProp(prop, value); }
  bool GetStrProp(int n, TPGItemStrProp prop, std::string& value) const { return ItemAt(n).GetStrProp(prop, value); }
  bool SetStrProp(int n, TPGItemStrProp prop, const std::string& value) { return ItemAt(n).SetStrProp(prop, value); }
  // A property by its stored keyword: an integer or string property, else the item's own.
  bool SetPropByKeyword(int n, std::string_view keyword, const std::string& value);

  [[nodiscard]] TPGImageItemInfo ReadImageItem(int n) const;
  void WriteImageItem(int n, const std::string& name, int imageIndex, TPGTag tag);

  [[nodiscard]] TPGBiDiMode DirectionOf(int n) const;
  [[nodiscard]] int FirstOffset(int n) const { return ItemAt(n).IsText() ? 1 : 0; }
  [[nodiscard]] int EndOffset(int n) const { return ItemAt(n).IsText() ? ItemLength(n) + 1 : 1; }

  // The code page of 8-bit text in a text style (the sheet's default for non-text).
  [[nodiscard]] TPGCodePage StyleCodePage(int styleNo) const;
  [[nodiscard]] TPGCodePage DefCodePage() const;
  // The text style meant by a number in a paragraph style (the paragraph-default number
  // resolved; paraStyle -1: the last item's paragraph).
  [[nodiscard]] int ResolveTextStyle(int textStyle, int paraStyle) const;

  // ---- building
  [[nodiscard]] bool ParagraphMode() const noexcept { return paragraphMode_; }
  void SetParagraphMode(bool on) noexcept { paragraphMode_ = on; }

  void AppendItem(std::string text, std::unique_ptr<TCustomPGItemInfo> item);
  // Puts an item at position p as it is (its flags and ParaNo decided by the caller),
  // linking its checkpoint into the chain in item order.
  void InsertItemAt(int p, std::string text, std::unique_ptr<TCustomPGItemInfo> item);
  // Text already in the style's encoding (8-bit, or UTF-16LE bytes for Unicode styles).
  void AppendText(std::string text, int textStyle, int paraStyle, TPGTag tag = {});
  // 8-bit text in the style's code page; converted when the style is Unicode.
  void AppendText8(std::string_view text, int textStyle, int paraStyle, TPGTag tag = {});
  // UTF-16 text; converted to the style's code page when the style is not Unicode.
  void AppendTextUTF16(std::u16string_view text, int textStyle, int paraStyle, TPGTag tag = {});
  void AppendBreak(int width = 1, std::uint8_t style = 0, TColor color = clNone, TPGTag tag = {});
  void AppendPicture(std::string name, std::unique_ptr<TGraphic> image, int paraStyle, TPGVAlign vAlign = pgvaBaseline,
                     TPGTag tag = {});
  void AppendHotPicture(std::string name, std::unique_ptr<TGraphic> image, int paraStyle,
                        TPGVAlign vAlign = pgvaBaseline, TPGTag tag = {});
  void AppendBullet(std::string name, int imageIndex, TPGImageList* imageList, int paraStyle, TPGTag tag = {});
  void AppendHotspot(std::string name, int imageIndex, int hotImageIndex, TPGImageList* imageList, int paraStyle,
                     TPGTag tag = {});
  void AppendControl(std::string name, std::unique_ptr<IEmbeddedControl> control, int paraStyle,
                     TPGVAlign vAlign = pgvaBaseline, TPGTag tag = {});

  // ---- checkpoints
  [[nodiscard]] int CheckpointCount() const noexcept { return cpCount_; }
  [[nodiscard]] TPGCPInfo* FirstCheckpoint() const noexcept { return firstCP_; }
  [[nodiscard]] TPGCPInfo* LastCheckpoint() const noexcept { return lastCP_; }
  [[nodiscard]] TPGCPInfo* PendingCheckpoint() const noexcept { return pendingCP_.get(); }
  // A checkpoint before the next item added; its number (or count - 1 when one is pending).
  int AppendCheckpoint(const std::string& name, bool raiseEvent, TPGTag tag = {});
  void AttachCheckpoint(int n, TPGTag tag, bool raiseEvent, const std::string& name);
  void UpdateCheckpoint(int n, TPGTag tag, bool raiseEvent, const std::string& name);
  struct TCheckpointDescription {
    TPGTag Tag;
    std::string Name;
    bool RaiseEvent = false;
  };
  [[nodiscard]] TCheckpointDescription DescribeCheckpoint(const TPGCPInfo* checkpoint) const;
  [[nodiscard]] TPGCPInfo* CheckpointOf(int n) const { return ItemAt(n).Checkpoint.get(); }
  // The last checkpoint whose item comes before item n.
  [[nodiscard]] TPGCPInfo* CheckpointBefore(int n) const;
  // The item number of a checkpoint (refreshing the cached numbers when stale); -1 when pending.
  [[nodiscard]] int CheckpointItemNo(const TPGCPInfo* checkpoint) const;
  // The position of a checkpoint in the chain, or -1.
  [[nodiscard]] int CheckpointNo(const TPGCPInfo* checkpoint) const;

  // Moves every item of other to the end of this document; other is left empty.
  void TakeItemsFrom(TCustomPGData& other);

  // ---- removing
  void RemoveItems(int first, int count);
  virtual void Clear();

  // True while the document frees its items in Clear.
  [[nodiscard]] bool IsClearing() const noexcept { return clearing_; }

  // ---- styles
  void MarkUsedStyles(TPGStyleUsage& usage) const;
  // Deletes the unused styles of the chosen kinds and renumbers every reference.
  void PurgeStyles(bool textStyles, bool paraStyles, bool listStyles);

  // ---- lists
  // The marker registry of the document this one belongs to (none while it has no markers).
  [[nodiscard]] TPGMarkerList* GetMarkerList() const;
  // Enters marker item n into the registry after the marker that precedes it, and numbers
  // its list. Nothing for other items or a marker already there.
  void RegisterMarker(int n);
  // Takes a marker out of the registry, renumbering its list unless told not to.
  void UnregisterMarker(TPGMarkerItemInfo* marker, bool noRenumber);
  // Registers every marker of the whole document at once and numbers all lists: what a
  // reader does after reading, so that loading many markers stays linear.
  void RebuildMarkerList();
  // Makes item n's paragraph a list paragraph (a new marker, or the existing one changed);
  // the marker's item number, or -1 for a paragraph that starts with a full-width item.
  // n outside the document appends a marker in paraStyle (-1: the last item's).
  int ApplyListToPara(int n, int listStyle, int level, int restartValue, bool restart, int paraStyle);
  struct TListMarkerInfo {
    int ItemNo = -1;
    int ListStyleNo = -1;
    int LevelNo = 0;
    int RestartValue = 1;
    bool RestartNumbering = false;
  };
  // The marker of item n's paragraph; ItemNo -1 when it has none.
  [[nodiscard]] TListMarkerInfo ListMarkerInfo(int n) const;
  void RenumberFromMarker(int n);
  // The nearest marker at or before item n in document order, table cells and parent
  // documents included.
  [[nodiscard]] TPGMarkerItemInfo* FindPrecedingMarker(int n) const;
  // The highest registry position above p whose marker belongs to one of the lists, or -1.
  [[nodiscard]] int LastMarkerOfLists(int p, const std::vector<int>& listStyles) const;

  // ---- merging neighbouring text items
  [[nodiscard]] bool CanJoinItems(int n, bool ignoreParaBoundary) const;
  void JoinItems(int n);

  // ---- words
  [[nodiscard]] bool IsWordDelimiter(char c) const;
  [[nodiscard]] bool IsWordDelimiterW(char16_t c) const;

  // ---- plain text (see PlainText.h for the file readers and writers)
  // Turns characters that would break stored documents apart into harmless ones: NUL into
  // "?", CR and LF into spaces in 8-bit text; U+0000 into "?" and U+2029 into a space in UTF-16.
  static void NormalizeText8(std::string& text);
  static void NormalizeTextUTF16(std::u16string& text);
  // The same for UTF-16LE text kept in bytes.
  static void NormalizeTextUTF16Bytes(std::string& bytes);

protected:
  // Hooks for descendants that keep per-item data (layouts, editors, marker registries).
  virtual void ItemsInserted(int /*first*/, int /*count*/) {}
  virtual void ItemsRemoved(int /*first*/, int /*count*/) {}
  // The style numbers changed after unused styles were deleted: renumber what you keep.
  virtual void StylesRenumbered(const TPGStyleRenumbering& /*renumbering*/) {}

  [[nodiscard]] std::vector<TPGItemEntry>& Entries() noexcept { return items_; }
  [[nodiscard]] const std::vector<TPGItemEntry>& Entries() const noexcept { return items_; }

private:
  void CheckIndex(int n) const;
  void CollectMarkers(std::vector<TPGMarkerItemInfo*>& out) const;
  void Renumber(int listStyleNo);
  void FreeItem(TPGItemEntry& entry);
  void UnregisterMarkersOf(int first, int count);
  void LinkCheckpointAfter(TPGCPInfo* cp, TPGCPInfo* after);
  void UnlinkCheckpoint(TPGCPInfo* cp);
  void RefreshCheckpointNumbers() const;
  void ExpandTabs8(std::string& text) const;
  void ExpandTabsUTF16Bytes(std::string& bytes) const;
  [[nodiscard]] bool StyleIsUnicode(int textStyle, int paraStyle) const;
  void AppendNonText(std::string name, std::unique_ptr<TCustomPGItemInfo> item, int paraStyle, TPGTag tag);

  IPGDataOwner* owner_;
  std::vector<TPGItemEntry> items_;
  std::unique_ptr<TPGMarkerList> markers_;  // only the top document of a control keeps one
  std::unique_ptr<TPGFStyleMaps> pgfMaps_;
  bool paragraphMode_ = true;
  TPGCPInfo* firstCP_ = nullptr;
  TPGCPInfo* lastCP_ = nullptr;
  std::unique_ptr<TPGCPInfo> pendingCP_;
  int cpCount_ = 0;
  mutable bool cpNumbersValid_ = true;
  bool clearing_ = false;
  bool readingNested_ = false;
};

}  // namespace pagora
