// The entry points of FileMaker's FMWrapper.dll that the plug-in calls, written
// from FileMaker's published plug-in interface. Every one takes, last, an error
// record that the caller sets to {1, 0} and FileMaker sets to a failure code.
// Objects are opaque; the plug-in deletes only what it constructed.
#pragma once

#include <cstdint>

struct FMError {
  int32_t version;  // always 1
  int32_t code;     // 0 no error, 1 out of memory, 2 anything else
};

inline FMError NoFMError() { return {1, 0}; }

// FMWrapper.dll's own functions take the C convention. The two that FileMaker
// and the plug-in hand each other, a registered function and the script
// starter, are __stdcall in 32-bit FileMaker; 64-bit Windows has one convention.
#if defined(__i386__)
#define FM_CALLBACK __attribute__((stdcall))
#else
#define FM_CALLBACK
#endif

// Types that FileMaker passes as numbers.
const int32_t FM_LOCALE_SYSTEM = 1;
const int32_t FM_NATIVE_TEXT = 1;

typedef uint32_t (*FMTextGetSize)(const void* text, FMError* error);
typedef void (*FMTextGetUnicode)(const void* text, uint16_t* units, uint32_t position, uint32_t count, FMError* error);
typedef void* (*FMTextConstructor)(FMError* error);
typedef void (*FMDelete)(void* object, FMError* error);
typedef void (*FMTextAssignUnicodeWithLength)(void* text, const uint16_t* units, uint32_t count, FMError* error);
typedef void* (*FMLocaleConstructor)(int32_t localeType, FMError* error);
typedef int16_t (*FMDataSetAsText)(void* data, const void* text, const void* locale, int32_t nativeType,
                                   FMError* error);
typedef uint32_t (*FMDataVectSize)(const void* vector, FMError* error);
typedef const void* (*FMDataVectAtAsText)(const void* vector, uint32_t index, FMError* error);
typedef void* (*FMQuadCharConstructor)(char c0, char c1, char c2, char c3, FMError* error);
typedef void* (*FMDataConstructor)(FMError* error);

// The call block's script starter: queues scriptName of fileName with a
// parameter; 0 when FileMaker took it. The control says what becomes of a
// paused script.
typedef int16_t(FM_CALLBACK* FMStartScript)(const void* fileName, const void* scriptName, uint8_t control,
                                            const void* parameter);
const uint8_t SCRIPT_CONTROL_PAUSE = 3;  // a paused script stays paused; ours runs after it

// What FileMaker calls for a registered function: its id, the calculation
// environment, the arguments and the result to fill. 0 means success.
typedef int16_t(FM_CALLBACK* FMExternalFunction)(int16_t functionId, const void* environment, const void* arguments,
                                                 void* result);

typedef int16_t (*FMRegisterFunctionEx)(const void* pluginId, int16_t functionId, const void* name,
                                        const void* prototype, const void* description, int16_t minimumArguments,
                                        int16_t maximumArguments, uint32_t compatibility, FMExternalFunction function,
                                        FMError* error);
typedef int16_t (*FMRegisterFunction)(const void* pluginId, int16_t functionId, const void* name, const void* prototype,
                                      int16_t minimumArguments, int16_t maximumArguments, uint32_t compatibility,
                                      FMExternalFunction function, FMError* error);
typedef int16_t (*FMUnregisterFunction)(const void* pluginId, int16_t functionId, FMError* error);

// The call block's current-environment callback: fills an ExprEnv the plug-in
// made with FileMaker's calculation environment now; 0 when it did.
typedef int16_t(FM_CALLBACK* FMCurrentEnvironment)(void* environment);
typedef int16_t (*FMExprEnvEvaluate)(const void* environment, const void* expression, void* result, FMError* error);
typedef const void* (*FMDataGetAsText)(const void* data, FMError* error);

// Asking FileMaker a calculation outside a function call; all null where it
// cannot be asked.
struct FMEvaluation {
  FMTextConstructor newEnvironment;  // FM_ExprEnv_Constructor1: the same shape
  FMDelete deleteEnvironment;
  FMExprEnvEvaluate evaluate;
  FMDataGetAsText dataText;
};

// Reading a parameter.
struct FMTextReading {
  FMDataVectSize vectorSize;
  FMDataVectAtAsText vectorTextAt;
  FMTextGetSize textSize;
  FMTextGetUnicode textUnits;
};

// Everything the plug-in calls, bound by name when FileMaker initialises it.
struct FMWrapperFunctions {
  FMTextReading reading;
  FMTextConstructor newText;
  FMDelete deleteText;
  FMTextAssignUnicodeWithLength assignText;
  FMLocaleConstructor newLocale;
  FMDelete deleteLocale;
  FMDataSetAsText setDataText;
  FMDataConstructor newData;
  FMDelete deleteData;
  FMQuadCharConstructor newQuadChar;
  FMDelete deleteQuadChar;
  FMRegisterFunctionEx registerFunctionEx;  // FileMaker 15 (API 56) and later
  FMRegisterFunction registerFunction;      // older: no description
  FMUnregisterFunction unregisterFunction;
  FMEvaluation evaluation;  // optional: without it, FileMaker is never asked of its record
};
