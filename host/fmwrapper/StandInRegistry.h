// What the stand-in FMWrapper.dll shows its host beyond FileMaker's own entry
// points: the functions registered with it, and allocation failures to play.
#pragma once

#include <cstdint>
#include <string>

#ifdef FMWRAPPER_BUILDING
#define STANDIN_API extern "C" __declspec(dllexport)
#else
#define STANDIN_API extern "C" __declspec(dllimport)
#endif

// A registered function, as FileMaker calls it: __stdcall in 32-bit FileMaker.
#if defined(__i386__)
#define STANDIN_CALLBACK __attribute__((stdcall))
#else
#define STANDIN_CALLBACK
#endif
typedef int16_t(STANDIN_CALLBACK* StandInFunction)(int16_t id, const void* environment, const void* arguments,
                                                   void* result);

struct RegisteredFunction {
  char pluginId[5];
  int16_t id;
  const wchar_t* name;
  const wchar_t* prototype;
  const wchar_t* description;  // null when registered without one
  int16_t minimumArguments;
  int16_t maximumArguments;
  uint32_t compatibility;
  StandInFunction function;
};

// The functions registered now, in the order of registration; false past the last.
STANDIN_API bool StandIn_Registered(int index, RegisteredFunction* out);
STANDIN_API int StandIn_RegisteredCount();
// The units of a Text, read without FM_Text_GetUnicode, which one stand-in lacks.
STANDIN_API const wchar_t* StandIn_TextUnits(const void* text);
// Whether a result Data has been given a value since it was made.
STANDIN_API bool StandIn_DataWasSet(const void* data);
// From now on every constructor fails as FileMaker does when out of memory.
STANDIN_API void StandIn_SetAllocationFails(bool fail);
// The host's answers to calculations evaluated outside a function call; false
// for an expression it does not know.
typedef bool (*StandInEvaluator)(const wchar_t* expression, std::wstring* answer);
STANDIN_API void StandIn_SetEvaluator(StandInEvaluator evaluator);
// What the call block's current-environment callback does in the stand-in.
STANDIN_API int16_t StandIn_SetToCurrentEnvironment(void* environment);
