#include "portable/host/HostInterface.h"

HostInterface RouteCall(InterfaceChoice& choice, uint8_t callKind, int16_t interfaceVersion) {
  if (callKind == CALL_INIT && !choice.inForce) {
    choice.chosen = interfaceVersion < FIRST_MODERN_INTERFACE_VERSION ? HostInterface::Classic : HostInterface::Modern;
    choice.made = choice.inForce = true;
  }
  if (callKind == CALL_SHUTDOWN) choice.inForce = false;
  if (choice.made) return choice.chosen;
  return callKind == CALL_GET_STRING ? HostInterface::Modern : HostInterface::Classic;
}
