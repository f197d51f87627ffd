#include "OctreeQuantizer.h"

#include "ErrorReport.h"
#include "ImagingErrors.h"

#include <algorithm>
#include <new>

namespace tavik {

bool OctTable::Init() {
  nodes_.reset(new (std::nothrow) Node[kOctNodes]);
  if (!nodes_) {
    ReportError(imaging::kErrGlobalAlloc, kInitOctTable, "OctNodes");
    return false;
  }
  free_.reset(new (std::nothrow) int16_t[kOctNodes]);
  if (!free_) {
    nodes_.reset();
    ReportError(imaging::kErrGlobalAlloc, kInitOctTable, "FreeOct");
    return false;
  }
  for (int i = 0; i < kOctNodes; ++i) {
    nodes_[i] = Node{};
    std::fill(std::begin(nodes_[i].children), std::end(nodes_[i].children), int16_t{-1});
    free_[i] = static_cast<int16_t>(i + 1 < kOctNodes ? i + 1 : -1);
  }
  Node& root = nodes_[0];
  for (int c = 0; c < 3; ++c) {
    root.low[c] = 0;
    root.high[c] = 31;
  }
  freeHead_ = 1;
  leaves_ = 0;
  return true;
}

void OctTable::Free() {
  nodes_.reset();
  free_.reset();
  freeHead_ = -1;
  leaves_ = 0;
}

int16_t OctTable::TakeNode() {
  int16_t n = freeHead_;
  if (n < 0) return -1;
  freeHead_ = free_[n];
  nodes_[n] = Node{};
  std::fill(std::begin(nodes_[n].children), std::end(nodes_[n].children), int16_t{-1});
  return n;
}

void OctTable::FreeSubtree(int16_t n) {
  for (int16_t child : nodes_[n].children) {
    if (child >= 0) FreeSubtree(child);
  }
  if (nodes_[n].leaf) --leaves_;
  free_[n] = freeHead_;
  freeHead_ = n;
}

bool OctTable::AddColor(int red5, int green5, int blue5, uint32_t weight) {
  const int value[3] = {red5, green5, blue5};
  int16_t n = 0;
  for (;;) {
    Node& node = nodes_[n];
    node.count += weight;
    if (node.leaf) return true;
    int k = 0, middle[3];
    for (int c = 0; c < 3; ++c) {
      middle[c] = (node.low[c] + node.high[c]) / 2;
      if (value[c] > middle[c]) k |= 4 >> c;
    }
    if (node.children[k] < 0) {
      int16_t child = TakeNode();
      if (child < 0) return false;
      Node& made = nodes_[child];
      bool single = true;
      for (int c = 0; c < 3; ++c) {
        const bool upper = k & (4 >> c);
        made.low[c] = static_cast<uint8_t>(upper ? middle[c] + 1 : nodes_[n].low[c]);
        made.high[c] = static_cast<uint8_t>(upper ? nodes_[n].high[c] : middle[c]);
        single &= made.low[c] == made.high[c];
      }
      if (single) {
        made.leaf = 1;
        ++leaves_;
      }
      nodes_[n].children[k] = child;
    }
    n = nodes_[n].children[k];
  }
}

int OctTable::Depth(int16_t n) const {
  if (n < 0 || nodes_[n].leaf) return 0;
  int deepest = 0;
  for (int16_t child : nodes_[n].children) deepest = std::max(deepest, Depth(child));
  return 1 + deepest;
}

void OctTable::MergeStep() {
  int16_t n = 0;
  for (;;) {
    const Node& node = nodes_[n];
    bool allLeaves = true;
    for (int16_t child : node.children) allLeaves &= child < 0 || nodes_[child].leaf;
    if (allLeaves) break;
    int depth[8], order[8];
    for (int k = 0; k < 8; ++k) {
      depth[k] = Depth(node.children[k]);
      order[k] = k;
    }
    // Shell sort by depth, gaps 4, 2, 1, swapping equal depths too: ties end up in an order
    // the merge choice below depends on.
    for (int gap = 4; gap > 0; gap /= 2) {
      for (int i = gap; i < 8; ++i) {
        for (int j = i - gap; j >= 0 && depth[order[j]] >= depth[order[j + gap]]; j -= gap) {
          std::swap(order[j], order[j + gap]);
        }
      }
    }
    const int candidate = order[7];
    const uint32_t candidateCount = nodes_[node.children[candidate]].count;
    int choice = candidate;
    for (int p = 6; p >= 0; --p) {
      const int16_t child = node.children[order[p]];
      if (child >= 0 && depth[order[p]] == depth[candidate] &&
          nodes_[child].count < candidateCount) {
        choice = order[p];
      }
    }
    n = node.children[choice];
  }
  Node& node = nodes_[n];
  int keeperSlot = -1, otherSlot = -1;
  for (int k = 0; k < 8; ++k) {
    if (node.children[k] < 0) continue;
    if (keeperSlot < 0) {
      keeperSlot = k;
    } else {
      otherSlot = k;
      break;
    }
  }
  if (keeperSlot < 0) return;  // a childless inner node cannot arise from AddColor
  Node& keeper = nodes_[node.children[keeperSlot]];
  if (otherSlot >= 0) {
    const int16_t otherIndex = node.children[otherSlot];
    const Node& other = nodes_[otherIndex];
    const uint64_t sum = uint64_t{keeper.count} + other.count;
    if (sum > 0) {
      for (int c = 0; c < 3; ++c) {
        keeper.low[c] = static_cast<uint8_t>(
            (uint64_t{other.low[c]} * other.count + uint64_t{keeper.low[c]} * keeper.count) / sum);
      }
    }
    keeper.count = static_cast<uint32_t>(std::min<uint64_t>(sum, UINT32_MAX));
    FreeSubtree(otherIndex);
    node.children[otherSlot] = -1;
  }
  bool only = true;
  for (int k = 0; k < 8; ++k) only &= k == keeperSlot || node.children[k] < 0;
  if (only) {
    const int16_t keeperIndex = node.children[keeperSlot];
    for (int c = 0; c < 3; ++c) {
      node.low[c] = nodes_[keeperIndex].low[c];
      node.high[c] = nodes_[keeperIndex].high[c];
    }
    FreeSubtree(keeperIndex);  // takes its leaf away from the count...
    node.children[keeperSlot] = -1;
    node.leaf = 1;
    ++leaves_;                 // ...which the node, now a leaf, gives back
  }
}

void OctTable::Reduce(int target) {
  while (leaves_ > target) MergeStep();
}

void OctTable::AppendLeaves(int16_t n, uint8_t* out, int& count) const {
  const Node& node = nodes_[n];
  if (node.leaf) {
    if (node.count == 0) return;
    for (int c = 0; c < 3; ++c) {
      out[3 * count + c] = static_cast<uint8_t>(((node.low[c] + node.high[c]) & ~1) * 4);
    }
    ++count;
    return;
  }
  for (int16_t child : node.children) {
    if (child >= 0 && count < 256) AppendLeaves(child, out, count);
  }
}

int OctTable::ToPalette(std::span<uint8_t, 768> palette) const {
  int count = 0;
  if (nodes_) AppendLeaves(0, palette.data(), count);
  return count;
}

namespace {

// The 24-bit colour or palette colour of pixel x of DIB row `row` (from the bottom).
struct DibPixels {
  explicit DibPixels(std::span<const uint8_t> dib)
      : dib(dib), bits(DIBBitDepth(dib)), height(DIBPixelHeight(dib)) {}
  std::span<const uint8_t> dib;
  int bits;
  int32_t height;
};

bool AddOne(OctTable& table, uint8_t r, uint8_t g, uint8_t b, uint32_t weight, UsedColors* used,
            int target) {
  const int r5 = r >> 3, g5 = g >> 3, b5 = b >> 3;
  if (used) {
    const int value = b5 << 10 | g5 << 5 | r5;
    (*used)[value >> 3] |= static_cast<uint8_t>(0x80 >> (value & 7));
  }
  if (!table.AddColor(r5, g5, b5, weight)) return false;
  if (table.Leaves() > 256) table.Reduce(target);
  return true;
}

}  // namespace

int AddImageToOctTable(OctTable& table, std::span<const uint8_t> dib, UsedColors* used,
                       const Rect& rect, int target) {
  DibPixels image(dib);
  for (int32_t y = rect.top; y <= rect.bottom; ++y) {
    const uint8_t* row = DIBRow(dib, image.height - 1 - y);
    for (int32_t x = rect.left; x <= rect.right; ++x) {
      Rgb c;
      if (image.bits == 24) {
        c = {row[3 * x + 2], row[3 * x + 1], row[3 * x]};
      } else {
        c = DIBPixelColor(dib, x, image.height - 1 - y);
      }
      if (!AddOne(table, c.r, c.g, c.b, 1, used, target)) return kErrOctreeFailure;
    }
  }
  return 0;
}

int AddPaletteImageToOctTable(OctTable& table, int target, std::span<const uint8_t> dib,
                              const Rect& rect) {
  DibPixels image(dib);
  std::array<uint32_t, 256> histogram{};
  for (int32_t y = rect.top; y <= rect.bottom; ++y) {
    const uint8_t* row = DIBRow(dib, image.height - 1 - y);
    for (int32_t x = rect.left; x <= rect.right; ++x) {
      const int perByte = 8 / image.bits;
      ++histogram[(row[x / perByte] >> ((perByte - 1 - x % perByte) * image.bits)) &
                  ((1 << image.bits) - 1)];
    }
  }
  const int64_t colors = DIBColorCount(dib);
  const uint8_t* table4 = dib.data() + DIBHeaderSize(dib);
  const int stride = DIBHeaderSize(dib) == kCoreHeaderSize ? 3 : 4;
  for (int i = 0; i < 256; ++i) {
    if (histogram[i] == 0) continue;
    // Indices past the colour table show black, and are counted as such.
    uint8_t r = 0, g = 0, b = 0;
    if (i < colors) {
      b = table4[stride * i];
      g = table4[stride * i + 1];
      r = table4[stride * i + 2];
    }
    if (!AddOne(table, r, g, b, histogram[i], nullptr, target)) return kErrOctreeFailure;
  }
  return 0;
}

}  // namespace tavik
