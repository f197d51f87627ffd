// The colour tree that builds an optimized palette ("BESTPAL") from the colours an image
// really uses: boxes of 5-bit red, green and blue split in eight, leaves of single 15-bit
// colours with pixel counts, sibling leaves deep in the tree merged into their weighted
// average whenever there are more leaves than wanted. One fixed pool of 1624 nodes: the merge
// order below keeps any image within it.
#pragma once

#include "Dib.h"
#include "ImageRecord.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>

namespace tavik {

inline constexpr int kOctNodes = 1624;

// Result codes of the feeders, as the save pipeline reports them.
inline constexpr int kErrOctreeFailure = 126;  // "Color reduction failure, notify Tavik."

class OctTable {
public:
  // InitOctTable: false after reporting error 120 ("OctNodes" / "FreeOct") when memory fails.
  bool Init();
  // FreeOctTable.
  void Free();
  // AddOctColor: false when the pool is exhausted.
  bool AddColor(int red5, int green5, int blue5, uint32_t weight);
  // ReduceOctTable: merges until there are at most `target` leaves.
  void Reduce(int target);
  // OctTableToPalette: red-green-blue triples of every leaf with pixels, depth first.
  int ToPalette(std::span<uint8_t, 768> palette) const;
  int Leaves() const { return leaves_; }

private:
  struct Node {
    uint32_t count;
    uint8_t leaf;
    uint8_t low[3], high[3];
    int16_t children[8];
  };
  int16_t TakeNode();
  void FreeSubtree(int16_t n);
  int Depth(int16_t n) const;
  void MergeStep();
  void AppendLeaves(int16_t n, uint8_t* out, int& count) const;

  std::unique_ptr<Node[]> nodes_;
  std::unique_ptr<int16_t[]> free_;
  int16_t freeHead_ = -1;
  int leaves_ = 0;
};

// One bit per 15-bit colour (blue5 << 10 | green5 << 5 | red5), set for every colour fed.
using UsedColors = std::array<uint8_t, 4096>;

// AddImageToOctTable over `rect` (rows top to bottom as the image shows them, inclusive
// bounds in stored-image coordinates) of a 1-, 4-, 8- or 24-bit DIB; cuts the tree back to
// `target` whenever it holds more than 256 leaves. 0 or kErrOctreeFailure.
int AddImageToOctTable(OctTable& table, std::span<const uint8_t> dib, UsedColors* used,
                       const Rect& rect, int target);
// AddPaletteImageToOctTable: a histogram of the indices, then one add per used colour.
int AddPaletteImageToOctTable(OctTable& table, int target, std::span<const uint8_t> dib,
                              const Rect& rect);

}  // namespace tavik
