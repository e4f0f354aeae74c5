#include "layout/ParagraphBlocks.h"

#include <algorithm>

namespace pagora {

void TPGParaBlocks::Clear() {
  blocks_.clear();
  dirty_ = true;
}

void TPGParaBlocks::Replace(int first, int count, std::vector<TPGParaBlock> blocks) {
  const bool sameShape = static_cast<int>(blocks.size()) == count && !dirty_;
  auto at = blocks_.begin() + first;
  if (static_cast<int>(blocks.size()) == count) {
    std::move(blocks.begin(), blocks.end(), at);
  } else {
    at = blocks_.erase(at, at + count);
    blocks_.insert(at, std::make_move_iterator(blocks.begin()), std::make_move_iterator(blocks.end()));
  }
  if (!sameShape) {
    dirty_ = true;  // block numbers moved: the sums are rebuilt on the next question
    return;
  }
  for (int b = std::max(0, first - 1); b < first + count; ++b) UpdateLeaf(b);  // the one before: its gap
}

void TPGParaBlocks::AdjustItemCount(int b, int delta) {
  blocks_[static_cast<std::size_t>(b)].ItemCount += delta;
  if (!dirty_) UpdateLeaf(b);
}

int TPGParaBlocks::BlockHeight(int b) const {
  const TPGParaBlock& k = blocks_[static_cast<std::size_t>(b)];
  const bool nextFullWidth = b + 1 < Count() && blocks_[static_cast<std::size_t>(b + 1)].FullWidth;
  return k.Content + k.SpaceAfter + (nextFullWidth ? 0 : k.SpacingBelow);
}

TPGParaBlocks::Node TPGParaBlocks::LeafOf(int b) const {
  const TPGParaBlock& k = blocks_[static_cast<std::size_t>(b)];
  return {k.ItemCount, static_cast<int>(k.Draw.size()), BlockHeight(b), k.MinWidth};
}

void TPGParaBlocks::Rebuild() const {
  size_ = 1;
  while (size_ < Count()) size_ *= 2;
  tree_.assign(static_cast<std::size_t>(2 * size_), Node{});
  for (int b = 0; b < Count(); ++b) tree_[static_cast<std::size_t>(size_ + b)] = LeafOf(b);
  for (int i = size_ - 1; i >= 1; --i) {
    const Node& l = tree_[static_cast<std::size_t>(2 * i)];
    const Node& r = tree_[static_cast<std::size_t>(2 * i + 1)];
    tree_[static_cast<std::size_t>(i)] = {l.Items + r.Items, l.Draws + r.Draws, l.Height + r.Height,
                                          std::max(l.MinWidth, r.MinWidth)};
  }
  dirty_ = false;
}

void TPGParaBlocks::UpdateLeaf(int b) const {
  if (dirty_) return;
  std::size_t i = static_cast<std::size_t>(size_ + b);
  tree_[i] = LeafOf(b);
  for (i /= 2; i >= 1; i /= 2) {
    const Node& l = tree_[2 * i];
    const Node& r = tree_[2 * i + 1];
    tree_[i] = {l.Items + r.Items, l.Draws + r.Draws, l.Height + r.Height, std::max(l.MinWidth, r.MinWidth)};
  }
}

int TPGParaBlocks::ItemCount() const {
  if (dirty_) Rebuild();
  return tree_.empty() ? 0 : tree_[1].Items;
}
int TPGParaBlocks::DrawCount() const {
  if (dirty_) Rebuild();
  return tree_.empty() ? 0 : tree_[1].Draws;
}
int TPGParaBlocks::Height() const {
  if (dirty_) Rebuild();
  return tree_.empty() ? 0 : tree_[1].Height;
}
int TPGParaBlocks::MaxMinWidth() const {
  if (dirty_) Rebuild();
  return tree_.empty() ? 0 : tree_[1].MinWidth;
}

int TPGParaBlocks::BlockOfItem(int n, int* firstItem) const {
  if (dirty_) Rebuild();
  std::size_t i = 1;
  int before = 0;
  while (i < static_cast<std::size_t>(size_)) {
    const int left = tree_[2 * i].Items;
    if (n < before + left) i = 2 * i;
    else {
      before += left;
      i = 2 * i + 1;
    }
  }
  if (firstItem) *firstItem = before;
  return static_cast<int>(i) - size_;
}

int TPGParaBlocks::BlockOfDraw(int d, int* firstDraw) const {
  if (dirty_) Rebuild();
  std::size_t i = 1;
  int before = 0;
  while (i < static_cast<std::size_t>(size_)) {
    const int left = tree_[2 * i].Draws;
    if (d < before + left) i = 2 * i;
    else {
      before += left;
      i = 2 * i + 1;
    }
  }
  if (firstDraw) *firstDraw = before;
  return static_cast<int>(i) - size_;
}

int TPGParaBlocks::BlockAtY(int y) const {
  if (dirty_) Rebuild();
  if (Empty()) return -1;
  std::size_t i = 1;
  int before = 0;
  while (i < static_cast<std::size_t>(size_)) {
    const int left = tree_[2 * i].Height;
    if (y < before + left) i = 2 * i;
    else {
      before += left;
      i = 2 * i + 1;
    }
  }
  return std::min(static_cast<int>(i) - size_, Count() - 1);
}

int TPGParaBlocks::FirstItemOf(int b) const {
  if (dirty_) Rebuild();
  int sum = 0;
  for (std::size_t i = static_cast<std::size_t>(size_ + b); i > 1; i /= 2)
    if (i & 1) sum += tree_[i - 1].Items;
  return sum;
}

int TPGParaBlocks::FirstDrawOf(int b) const {
  if (dirty_) Rebuild();
  int sum = 0;
  for (std::size_t i = static_cast<std::size_t>(size_ + b); i > 1; i /= 2)
    if (i & 1) sum += tree_[i - 1].Draws;
  return sum;
}

int TPGParaBlocks::TopOf(int b) const {
  if (dirty_) Rebuild();
  int sum = 0;
  for (std::size_t i = static_cast<std::size_t>(size_ + b); i > 1; i /= 2)
    if (i & 1) sum += tree_[i - 1].Height;
  return sum;
}

}  // namespace pagora
