// The call block that FileMaker 7 and later pass to FMExternCallProc, packed
// to one byte, so that several pointer-sized fields sit unaligned: 72 bytes in
// 64-bit FileMaker; 80 in the 32-bit FileMaker 7 to 18, whose pointer-sized
// fields take 4 bytes and whose block carries ten memory callbacks of the
// handle era between unused and startScript.
#pragma once

#include <cstddef>
#include <cstdint>

#if UINTPTR_MAX == UINT32_MAX
#define FM_CALL_BLOCK_32_BIT 1
#endif

#pragma pack(push, 1)
struct FMModernCallBlock {
  int16_t apiVersion;    // 0: the host's plug-in API version
  int16_t unusedId;      // 2
  uintptr_t entryPoint;  // 4: FMExternCallProc itself
  uint8_t unusedFlag;    // 8 (32-bit) or 12 (64-bit)
  uint8_t callKind;      // see the CALL_ constants
  uint8_t notOnMainThread;
  uint8_t parm1;       // init: application kind; GetString: string id
  uintptr_t parm2;     // init: the host's version text (UTF-16); GetString: language
  uintptr_t parm3;     // GetString: room in the answer, in UTF-16 units with the terminator
  uintptr_t instance;  // the plug-in's module
  uintptr_t result;    // init: the reply; GetString: the answer's buffer
  uintptr_t unused;
#ifdef FM_CALL_BLOCK_32_BIT
  uintptr_t handleCallbacks[10];  // never used here
#endif
  uintptr_t startScript;  // an FMStartScript
  uintptr_t currentEnvironment;
};
#pragma pack(pop)

#ifdef FM_CALL_BLOCK_32_BIT
static_assert(sizeof(FMModernCallBlock) == 80, "80 bytes");
static_assert(offsetof(FMModernCallBlock, callKind) == 9, "callKind");
static_assert(offsetof(FMModernCallBlock, parm1) == 11, "parm1");
static_assert(offsetof(FMModernCallBlock, parm2) == 12, "parm2");
static_assert(offsetof(FMModernCallBlock, parm3) == 16, "parm3");
static_assert(offsetof(FMModernCallBlock, instance) == 20, "instance");
static_assert(offsetof(FMModernCallBlock, result) == 24, "result");
static_assert(offsetof(FMModernCallBlock, unused) == 28, "unused");
static_assert(offsetof(FMModernCallBlock, startScript) == 72, "startScript");
static_assert(offsetof(FMModernCallBlock, currentEnvironment) == 76, "currentEnvironment");
#else
static_assert(sizeof(FMModernCallBlock) == 72, "72 bytes");
static_assert(offsetof(FMModernCallBlock, entryPoint) == 4, "entryPoint");
static_assert(offsetof(FMModernCallBlock, unusedFlag) == 12, "unusedFlag");
static_assert(offsetof(FMModernCallBlock, callKind) == 13, "callKind");
static_assert(offsetof(FMModernCallBlock, notOnMainThread) == 14, "notOnMainThread");
static_assert(offsetof(FMModernCallBlock, parm1) == 15, "parm1");
static_assert(offsetof(FMModernCallBlock, parm2) == 16, "parm2");
static_assert(offsetof(FMModernCallBlock, parm3) == 24, "parm3");
static_assert(offsetof(FMModernCallBlock, instance) == 32, "instance");
static_assert(offsetof(FMModernCallBlock, result) == 40, "result");
static_assert(offsetof(FMModernCallBlock, unused) == 48, "unused");
static_assert(offsetof(FMModernCallBlock, startScript) == 56, "startScript");
static_assert(offsetof(FMModernCallBlock, currentEnvironment) == 64, "currentEnvironment");
#endif

const uint8_t CALL_INIT = 0;
const uint8_t CALL_IDLE = 1;
const uint8_t CALL_SHUTDOWN = 4;
const uint8_t CALL_PREFERENCES = 5;
const uint8_t CALL_GET_STRING = 7;

// Idle levels (parm1 of an idle call): 0 and 1 the user idle or not, then a
// script paused, a script running, and unsafe, at which do nothing at all.
const uint8_t IDLE_SCRIPT_PAUSED = 2;
const uint8_t IDLE_UNSAFE = 4;

// Init replies.
const int64_t INIT_BAD_API_VERSION = -1;
const int64_t INIT_DO_NOT_ENABLE = -2;

// The strings FileMaker asks for.
const uint8_t STRING_NAME = 128;
const uint8_t STRING_DESCRIPTION = 129;
const uint8_t STRING_OPTIONS = 131;
const uint8_t STRING_HELP_URL = 132;

// API versions: the first this build's FileMaker can have (FileMaker 7 for
// 32 bits, the first with 64-bit plug-ins for 64), the first whose registration
// takes a description, and the one this plug-in implements.
#ifdef FM_CALL_BLOCK_32_BIT
const int16_t API_FIRST_OF_THIS_SIZE = 50;
#else
const int16_t API_FIRST_OF_THIS_SIZE = 53;
#endif
const int16_t API_REGISTRATION_WITH_DESCRIPTION = 56;
const int16_t API_IMPLEMENTED = 77;
// The first FileMaker (13) asked of its record from its idle call: FileMaker
// 8 to 12 have the functions, but evaluating from the idle call is reported
// to have crashed FileMaker 11.
const int16_t API_ASKED_FROM_IDLE = 54;

// Application kinds (parm1 of init) that are FileMaker Pro itself, with a user
// at the desk: Pro Advanced, Pro and Runtime.
inline bool IsFileMakerProItself(uint8_t applicationKind) { return applicationKind <= 2; }
