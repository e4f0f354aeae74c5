// The ordered style collections of a style sheet. Text and paragraph collections answer
// any index outside their range with a visibly marked fallback style.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/FontInfo.h"
#include "model/ListInfo.h"
#include "model/ParaInfo.h"

namespace pagora {

class TPGStyle;

class TCustomPGInfos {
public:
  using Factory = std::function<std::unique_ptr<TCustomPGInfo>()>;

  TCustomPGInfos(TPGStyle* owner, Factory factory);
  virtual ~TCustomPGInfos();
  TCustomPGInfos(const TCustomPGInfos&) = delete;
  TCustomPGInfos& operator=(const TCustomPGInfos&) = delete;

  [[nodiscard]] int Count() const noexcept { return static_cast<int>(items_.size()); }
  [[nodiscard]] bool IsValidIndex(int i) const noexcept { return i >= 0 && i < Count(); }
  [[nodiscard]] TPGStyle* Owner() const noexcept { return owner_; }

  // The style at i, which must exist.
  [[nodiscard]] TCustomPGInfo& Info(int i);
  [[nodiscard]] const TCustomPGInfo& Info(int i) const;

  // A new style with the class defaults, appended.
  TCustomPGInfo& AddInfo();
  // Appends a copy of the style (of this collection's class); returns its number.
  int AppendCopy(const TCustomPGInfo& style);
  void Delete(int i);
  void Clear();
  // Makes this collection a copy of source, style by style.
  virtual void Assign(const TCustomPGInfos& source);
  // Keeps the styles whose flag is set, in order; the others are freed.
  void Retain(const std::vector<bool>& keep);
  // The style names, one per style.
  [[nodiscard]] std::vector<std::string> Names() const;

protected:
  virtual void Changed() {}

private:
  TPGStyle* owner_;
  Factory factory_;
  std::vector<std::unique_ptr<TCustomPGInfo>> items_;
};

class TFontInfos : public TCustomPGInfos {
public:
  explicit TFontInfos(TPGStyle* owner, Factory factory = nullptr);

  // Out-of-range indexes give the fallback style.
  [[nodiscard]] TFontInfo& operator[](int i);
  [[nodiscard]] const TFontInfo& operator[](int i) const;
  TFontInfo& Add();

  // The preferred style when it matches, else the first matching one; -1 when none.
  [[nodiscard]] int FindLike(int preferred, const TFontInfo& templ, TPGTextStyleProperties compare) const;
  // A non-Unicode style with the charset equal to style baseIndex in everything else.
  [[nodiscard]] int FindCharsetVariant(int baseIndex, TFontCharset charset) const;

  // When nonzero, point sizes become pixel heights at this resolution (printing sets it).
  int FontResolution = 0;

  // The fallback style: a copy of style 0 (or of a default style) with white text on red.
  [[nodiscard]] TFontInfo& Fallback() const;

private:
  mutable std::unique_ptr<TFontInfo> fallback_;
};

class TParaInfos : public TCustomPGInfos {
public:
  explicit TParaInfos(TPGStyle* owner, Factory factory = nullptr);

  [[nodiscard]] TParaInfo& operator[](int i);
  [[nodiscard]] const TParaInfo& operator[](int i) const;
  TParaInfo& Add();

  [[nodiscard]] int FindLike(int preferred, const TParaInfo& templ, TPGParaStyleProperties compare) const;
  // A style equal to style baseIndex except that it has the alignment.
  [[nodiscard]] int FindAlignmentVariant(int baseIndex, TPGAlignment alignment) const;

  // The fallback style: a copy of style 0 (or of a default style) with a red border.
  [[nodiscard]] TParaInfo& Fallback() const;

private:
  mutable std::unique_ptr<TParaInfo> fallback_;
};

class TPGListInfos : public TCustomPGInfos {
public:
  explicit TPGListInfos(TPGStyle* owner, Factory factory = nullptr);

  // The list style at i, which must exist.
  [[nodiscard]] TPGListInfo& operator[](int i);
  [[nodiscard]] const TPGListInfo& operator[](int i) const;
  TPGListInfo& Add();

  // The first list style equal to the template but for its identifier; else, when add is
  // set, a copy of it with a new identifier and Standard off; else -1.
  int FindOrAddList(const TPGListInfo& templ, bool add);
  // The first list style with these levels; else, when add is set, a new one named name.
  int FindOrAddListByLevels(const std::vector<TPGListLevel>& levels, const std::string& name, bool add);
  // Every level that refers to the image list forgets it.
  void ForgetImageList(const TPGImageList* imageList);
  // A copy of a whole collection holds the same lists: their identifiers go along.
  void Assign(const TCustomPGInfos& source) override;
};

}  // namespace pagora
