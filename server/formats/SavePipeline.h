// Saving: `GoAheadAndSaveEm` decides the output palette and how colours map to it, and the
// writer engine composes every output row from the placed images and hands it to the format's
// writer. `SaveFileImage` places a window's image chain; `SaveOneImage` is the convert path.
// Files are written beside the target and put in its place only when complete.
#pragma once

#include "ImageRecord.h"
#include "ImageWriter.h"

#include <span>
#include <string>
#include <string_view>

namespace tavik {

inline constexpr int kReduceNearest = 236, kReduceDither = 237;
inline constexpr int kPaletteWindows = 256, kPaletteBest = 257;

// "NEAREST" / "DITHER" and "WINPAL" / "BESTPAL", exactly after upper-casing; 0 for anything else
// (keep the current choice).
int ReductionWord(std::string_view word);
int PaletteWord(std::string_view word);

struct PlacedImage {
  const ImageRecord* record = nullptr;
  Rect source;                 // inclusive bounds in the stored image, rows from the top
  int32_t left = 0, top = 0;   // output rectangle
  int32_t width = 0, height = 0;
};

struct SaveChoice {
  int reduction = kReduceNearest;
  int palette = kPaletteBest;
};

// Writes the placed images (later ones cover earlier ones) through the job's writer. Returns 0,
// or the error code after reporting it under `GoAheadAndSaveEm`.
int GoAheadAndSaveEm(const SaveJob& job, SaveChoice choice, std::span<const PlacedImage> images,
                     OutputSink& sink);

// Runs `write` on a temporary file next to `fileName` and replaces the file with it when
// `write` returned 0 and every byte reached the disk; otherwise the old file stays as it was.
// Returns write's code, 83 when the file cannot be created or 84 when it cannot be finished.
int WriteReplacing(const std::string& fileName, int (*write)(OutputSink&, void*), void* context);

// The convert path. Output sizes below 0 take the source's; a crop edge below 0 means the
// stored image's edge. False (nothing reported) when the crop starts outside the image or the
// output size is below 1; false after a report when the save itself fails.
struct SaveOneRequest {
  int family = kFamilyBMP, subtype = kSubUncompressed;
  SaveChoice choice;
  int32_t outputHeight = -1, outputWidth = -1;
  int requestedBits = -1;
  int32_t cropTop = -1, cropLeft = -1, cropBottom = -1, cropRight = -1;
};
bool SaveOneImage(const ImageRecord& record, const std::string& fileName,
                  const SaveOneRequest& request);

// A window's save: every record of the chain with pixels, its drawn rectangle (window
// contents) or its placement rectangle (whole images) scaled from the area into the output.
struct SaveArea {
  int32_t areaWidth = 0, areaHeight = 0;
  bool wholeImages = false;
};
bool SaveFileImage(const ImageRecord* chain, const SaveJob& job, SaveChoice choice,
                   SaveArea area);

}  // namespace tavik
