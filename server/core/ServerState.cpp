#include "ServerState.h"

namespace tavik {

ServerState& Server() {
  static ServerState state;
  return state;
}

}  // namespace tavik
