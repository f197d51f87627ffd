#include "DdeServer.h"
#include "DdeTransactions.h"

namespace tavik {

HDDEDATA OnConnect(HSZ topic, HSZ service) {
  const DdeNames& names = Names();
  if (!service || DdeCmpStringHandles(service, names.service) != 0) return nullptr;
  const bool known = DdeCmpStringHandles(topic, names.image) == 0 ||
                     DdeCmpStringHandles(topic, names.graph) == 0 ||
                     DdeCmpStringHandles(topic, names.mmedia) == 0;
  return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(known ? TRUE : FALSE));
}

}  // namespace tavik
