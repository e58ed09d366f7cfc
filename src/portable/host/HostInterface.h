// Which of FileMaker's two plug-in interfaces the host speaks, and how
// Lullex.fmx, which speaks both, tells them apart.
//  - Classic: FileMaker Pro 5 and 6. Functions arrive through handles and text
//    is in the system's code page; FileMaker starts no scripts for plug-ins.
//  - Modern: FileMaker 7 and later, through FMWrapper.dll. Text is Unicode, kept
//    as UTF-8; plug-ins can start scripts; each document has a window of its own.
#pragma once

#include <cstdint>

#include "portable/modern/ModernCallBlock.h"

enum class HostInterface : uint8_t { Classic, Modern };

// Both call blocks begin with the host's interface version (16 bits) and have
// the call kind at byte 9, numbered alike (CALL_INIT, CALL_SHUTDOWN; only
// modern hosts send CALL_GET_STRING, and before their init). FileMaker 5 sends
// 14 and 6 sends 17; FileMaker 7, where the modern interface began, sends 50,
// and later versions more.
const int16_t FIRST_MODERN_INTERFACE_VERSION = 50;

// The interface of a plug-in that speaks both. The first init after loading or
// after a shutdown chooses by its version word, and the choice holds until the
// shutdown; later inits go to the interface chosen, as do calls after the
// shutdown, which that interface ignores. Before any init, a string request
// comes from a modern host and everything else goes to the classic interface,
// which FileMaker Pro 5 and 6 may call before their init.
struct InterfaceChoice {
  bool made;     // an interface was chosen at an init
  bool inForce;  // that init had no shutdown after it yet
  HostInterface chosen;
};

// The interface that handles this call; an init may make the choice, a
// shutdown ends it.
HostInterface RouteCall(InterfaceChoice& choice, uint8_t callKind, int16_t interfaceVersion);
