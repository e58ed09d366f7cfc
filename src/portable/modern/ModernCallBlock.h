// The call block that today's 64-bit FileMaker Pro passes to FMExternCallProc:
// 72 bytes packed to one, so that several 8-byte fields sit unaligned.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct FMModernCallBlock {
  int16_t apiVersion;           // 0: the host's plug-in API version
  int16_t unusedId;             // 2
  uint64_t entryPoint;          // 4: FMExternCallProc itself
  uint8_t unusedFlag;           // 12
  uint8_t callKind;             // 13: see the CALL_ constants
  uint8_t notOnMainThread;      // 14
  uint8_t parm1;                // 15: init: application kind; GetString: string id
  uint64_t parm2;               // 16: init: the host's version text (UTF-16); GetString: language
  uint64_t parm3;               // 24: GetString: room in the answer, in UTF-16 units with the terminator
  uint64_t instance;            // 32: the plug-in's module
  uint64_t result;              // 40: init: the reply; GetString: the answer's buffer
  uint64_t unused;              // 48
  uint64_t startScript;         // 56: an FMStartScript
  uint64_t currentEnvironment;  // 64
};
#pragma pack(pop)

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

const uint8_t CALL_INIT = 0;
const uint8_t CALL_IDLE = 1;
const uint8_t CALL_SHUTDOWN = 4;
const uint8_t CALL_PREFERENCES = 5;
const uint8_t CALL_GET_STRING = 7;

// Idle levels (parm1 of an idle call): at this one, do nothing at all.
const uint8_t IDLE_UNSAFE = 4;

// Init replies.
const int64_t INIT_BAD_API_VERSION = -1;
const int64_t INIT_DO_NOT_ENABLE = -2;

// The strings FileMaker asks for.
const uint8_t STRING_NAME = 128;
const uint8_t STRING_DESCRIPTION = 129;
const uint8_t STRING_OPTIONS = 131;
const uint8_t STRING_HELP_URL = 132;

// API versions: the first with 64-bit plug-ins, the first whose registration
// takes a description, and the one this plug-in implements.
const int16_t API_FIRST_64_BIT = 53;
const int16_t API_REGISTRATION_WITH_DESCRIPTION = 56;
const int16_t API_IMPLEMENTED = 77;

// Application kinds (parm1 of init) that are FileMaker Pro itself, with a user
// at the desk: Pro Advanced, Pro and Runtime.
inline bool IsFileMakerProItself(uint8_t applicationKind) { return applicationKind <= 2; }
