// The layout of a document kept paragraph by paragraph: each paragraph's drawing items
// with positions relative to the paragraph, and a tree of running sums (items, drawing
// items, heights) over the paragraphs. Reformatting one paragraph replaces its block and
// updates the sums on one path of the tree, so its cost does not grow with the document.
#pragma once

#include <vector>

#include "layout/DLines.h"
#include "model/PGMarker.h"

namespace pagora {

struct TPGParaBlock {
  int ItemCount = 0;
  // Top relative to the block's start, ItemNo relative to its first item.
  std::vector<TPGDrawLineInfo> Draw;
  // Per item of the paragraph: its first drawing item (relative), or -1.
  std::vector<int> FirstDraw;
  bool HasMarker = false;  // the paragraph begins with a list marker, boxed as MarkerBox
  TPGMarkerBox MarkerBox;
  int Content = 0;       // bottom of the last line, relative
  int SpaceAfter = 0;    // the paragraph's space after (device pixels)
  int SpacingBelow = 0;  // line spacing below the last line
  bool FullWidth = false;
  int MinWidth = 0;      // what the paragraph needs of the document's width
};

class TPGParaBlocks {
public:
  [[nodiscard]] int Count() const noexcept { return static_cast<int>(blocks_.size()); }
  [[nodiscard]] bool Empty() const noexcept { return blocks_.empty(); }
  [[nodiscard]] const TPGParaBlock& Block(int b) const { return blocks_[static_cast<std::size_t>(b)]; }

  void Clear();
  // Replaces blocks [first, first + count) with the new ones.
  void Replace(int first, int count, std::vector<TPGParaBlock> blocks);
  // Changes the item count of one block without laying it out again (items inserted or
  // removed before it is reformatted).
  void AdjustItemCount(int b, int delta);

  [[nodiscard]] int ItemCount() const;
  [[nodiscard]] int DrawCount() const;
  [[nodiscard]] int Height() const;  // of all blocks
  [[nodiscard]] int MaxMinWidth() const;

  // The block holding item n (0 <= n < ItemCount()), and that block's first item.
  [[nodiscard]] int BlockOfItem(int n, int* firstItem) const;
  // The block holding drawing item d, and that block's first drawing item.
  [[nodiscard]] int BlockOfDraw(int d, int* firstDraw) const;
  // The last block whose start is at or above y (relative to the first block's start).
  [[nodiscard]] int BlockAtY(int y) const;
  // Running sums before block b.
  [[nodiscard]] int FirstItemOf(int b) const;
  [[nodiscard]] int FirstDrawOf(int b) const;
  [[nodiscard]] int TopOf(int b) const;
  // The height a block takes in the document (its space after, and the line spacing of its
  // last line unless a full-line item follows).
  [[nodiscard]] int BlockHeight(int b) const;

private:
  struct Node {
    int Items = 0, Draws = 0, Height = 0, MinWidth = 0;
  };
  void Rebuild() const;
  void UpdateLeaf(int b) const;
  [[nodiscard]] Node LeafOf(int b) const;

  std::vector<TPGParaBlock> blocks_;
  mutable std::vector<Node> tree_;  // a heap: node i has children 2i and 2i+1; leaves from size_
  mutable int size_ = 0;
  mutable bool dirty_ = true;
};

}  // namespace pagora
