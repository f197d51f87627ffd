#include "DdeServer.h"
#include "DdeTransactions.h"

namespace tavik {

HDDEDATA CALLBACK DdeCallback(UINT type, UINT format, HCONV, HSZ hsz1, HSZ hsz2, HDDEDATA data,
                              ULONG_PTR, ULONG_PTR) {
  TransactionScope serving;
  switch (type) {
    case XTYP_CONNECT:
      return OnConnect(hsz1, hsz2);
    case XTYP_REQUEST:
      return OnRequest(format, hsz2);
    case XTYP_POKE:
      return OnPoke(format, hsz2, data);
    case XTYP_ADVSTART:
      return OnAdviseStart(format, hsz1, hsz2);
    case XTYP_ADVSTOP:
      return OnAdviseStop(format, hsz1, hsz2);
    case XTYP_ADVREQ:
      return OnAdviseRequest(format, hsz2);
    case XTYP_DISCONNECT:
      return reinterpret_cast<HDDEDATA>(1);
    default:
      // Wildcard connects and executes among them: the server serves neither.
      return nullptr;
  }
}

}  // namespace tavik
