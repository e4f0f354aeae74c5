// The base of every style: text, paragraph and list styles share a name, the style
// they were derived from, and whether the style sheet's author defined them.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace pagora {

// The translation of style numbers from one collection into another, by source number.
using TPGStyleMap = std::vector<int>;

class TCustomPGInfo {
public:
  virtual ~TCustomPGInfo() = default;

  int BaseStyleNo = -1;
  std::string StyleName;  // UTF-8; may be empty
  bool Standard = true;

  [[nodiscard]] const std::string& DisplayName() const noexcept { return StyleName; }

  // Copies the base fields, and the class's own fields when source is of this class.
  virtual void Assign(const TCustomPGInfo& source);
  // A new style of the same class with its class defaults.
  [[nodiscard]] virtual std::unique_ptr<TCustomPGInfo> CreateEmpty() const = 0;
  [[nodiscard]] std::unique_ptr<TCustomPGInfo> Clone() const;

  // Exact equality of the formatting (names, BaseStyleNo and Standard never count).
  [[nodiscard]] virtual bool EqualsStyle(const TCustomPGInfo& other, bool ignoreReferences) const = 0;
  // EqualsStyle with references ignored, plus this style's reference checked through the
  // map of the merge in progress against other's (see MergeStyleCollection).
  [[nodiscard]] virtual bool EqualsStyleMapped(const TCustomPGInfo& other, const TPGStyleMap& map) const = 0;
  // How alike other is to this style (the template); higher is more alike.
  [[nodiscard]] virtual int Likeness(const TCustomPGInfo& other) const = 0;

  // Rewrites the references to other styles after this style was appended by a merge.
  virtual void TranslateReferences(const TPGStyleMap& map, const TPGStyleMap* textStyleMap);

protected:
  TCustomPGInfo() = default;
  TCustomPGInfo(const TCustomPGInfo&) = default;
  TCustomPGInfo& operator=(const TCustomPGInfo&) = default;
};

// A reference r through a map in progress: r passes when it is negative, not yet mapped
// (a forward reference), or mapped to expected.
[[nodiscard]] bool ReferenceMatches(int r, const TPGStyleMap& map, int expected) noexcept;
// map[r] when r is a valid index, else r unchanged (negative references stay).
[[nodiscard]] int TranslateReference(int r, const TPGStyleMap& map) noexcept;

}  // namespace pagora
