#include "DrawingState.h"

namespace tavik {

void DrawingState::Release() {
  if (metafileDC) {
    if (HMETAFILE unfinished = CloseMetaFile(metafileDC)) DeleteMetaFile(unfinished);
    metafileDC = nullptr;
  }
  if (recordedMetafile) DeleteMetaFile(recordedMetafile);
  recordedMetafile = nullptr;
  if (offscreenDC) DeleteDC(offscreenDC);
  offscreenDC = nullptr;
  if (offscreenBitmap) DeleteObject(offscreenBitmap);
  offscreenBitmap = nullptr;
  if (penObject) DeleteObject(penObject);
  if (brushObject) DeleteObject(brushObject);
  if (fontObject) DeleteObject(fontObject);
  if (clipRegion) DeleteObject(clipRegion);
  penObject = nullptr;
  brushObject = nullptr;
  fontObject = nullptr;
  clipRegion = nullptr;
}

}  // namespace tavik
