// Every format family and the loader that reads it. Families whose reader is not written yet
// still have their row, so that detecting them gives an honest failure under the right name.
#include "BmpReader.h"
#include "ErrorReport.h"
#include "GifCodec.h"
#include "JpegCodec.h"
#include "ReadDib.h"
#include "TiffReader.h"

namespace tavik {
namespace {

template <int Routine>
bool NotYetReadable(SourceReader&, ImageRecord&) {
  ReportError(kErrWrongFormat, Routine, "unsupported");
  return false;
}

constexpr LoaderEntry kLoaders[] = {
    {kFamilyPCX, kLoadPCX, NotYetReadable<kLoadPCX>},
    {kFamilyGGC, kLoadGGC, NotYetReadable<kLoadGGC>},
    {kFamilyGIF, kLoadGIF, LoadGIF},
    {kFamilyTIFF, kLoadTIF, LoadTIF},
    {kFamilyX11, kLoadX11, NotYetReadable<kLoadX11>},
    {kFamilyMAC, kLoadMAC, NotYetReadable<kLoadMAC>},
    {kFamilyIMG, kLoadGEM, NotYetReadable<kLoadGEM>},
    {kFamilyBMP, kLoadBMP, LoadBMP},
    {kFamilyTGA, kLoadTGA, NotYetReadable<kLoadTGA>},
    {kFamilyMSP, kLoadMSP, NotYetReadable<kLoadMSP>},
    {kFamilyWPG, kLoadWPG, NotYetReadable<kLoadWPG>},
    {kFamilyPIC, kLoadPIC, NotYetReadable<kLoadPIC>},
    {kFamilyWMF, kLoadWMF, NotYetReadable<kLoadWMF>},
    {kFamilyJPG, kLoadJPG, LoadJPG},
    {kFamilyRAS, kLoadRAS, NotYetReadable<kLoadRAS>},
};

}  // namespace

const LoaderEntry* FindLoader(int family) {
  for (const LoaderEntry& entry : kLoaders) {
    if (entry.family == family) return &entry;
  }
  return nullptr;
}

}  // namespace tavik
