// Error codes the imaging and file code reports that the shared reporter header leaves unnamed.
#pragma once

namespace tavik::imaging {

inline constexpr int kErrLocalAlloc = 119;         // "Could not allocate local memory"
inline constexpr int kErrGlobalAlloc = 120;        // "Could not allocate global memory"
inline constexpr int kErrSaveFormat = 112;         // "Save format not supported yet."

}  // namespace tavik::imaging
