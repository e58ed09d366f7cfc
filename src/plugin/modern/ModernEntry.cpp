// FileMaker 7 and later, 32-bit and 64-bit: the strings they ask for, init
// (which registers the functions), idle calls (which start the event script),
// shutdown (which unregisters them). The functions themselves arrive through
// the registered callback.
#include "plugin/modern/ModernEntry.h"

#include <windows.h>

#include "plugin/FunctionTable.h"
#include "plugin/PluginState.h"
#include "plugin/modern/FMWrapperBinding.h"
#include "plugin/modern/RecordQuestion.h"
#include "portable/engine/WindowsKeyboard.h"
#include "portable/modern/ModernParameter.h"
#include "portable/text/TextBuffer.h"
#include "portable/text/UnicodeText.h"
#include "win32/guard/GuardLifetime.h"
#include "win32/system/HostWindows.h"
#include "win32/watch/WatchedCounts.h"

namespace {

const char PLUGIN_ID[] = "Lulx";
const char PLUGIN_NAME[] = "Lullex";
// Init and shutdown calls, and idle calls, from which the event script starts;
// no preferences, no session calls.
const char PLUGIN_OPTIONS[] = "Lulx1nnYYnn";
const char PLUGIN_DESCRIPTION[] =
    "Lullex guards an unattended workstation: after a record idle limit it commits the record being edited, "
    "and after a FileMaker idle limit it commits the record and locks the workstation behind a "
    "password. " LULLEX_VERSION_TEXT ".";
// Windows only: it watches Windows' input and types into FileMaker's window.
// Windows-compatible (0x4), and shown in every calculation dialog: FileMaker 14
// and 15 read the display bits (0xFF00), later versions ignore them.
const uint32_t FUNCTION_FLAGS = 0x0000FF04;
const size_t LONGEST_TEXT = 256;            // the longest name, prototype or description
const size_t LONGEST_TEXT_UNITS = 2 * 254;  // a file or script name: 254 characters of up to two units

FMWrapperFunctions g_fm;
void* g_pluginId;  // "Lulx" as FileMaker's QuadChar, while functions are registered
bool g_registered[FUNCTION_COUNT];

int16_t FM_CALLBACK CallFunction(int16_t id, const void* environment, const void* arguments, void* result);

// ASCII text as the UTF-16 units FileMaker takes; returns the count.
uint32_t Widen(const char* text, uint16_t* units, size_t room) {
  size_t n = 0;
  for (; text[n] && n + 1 < room; ++n) units[n] = static_cast<unsigned char>(text[n]);
  units[n] = 0;
  return static_cast<uint32_t>(n);
}

// A FileMaker text object holding UTF-8 text, or null; the caller deletes it.
void* NewText(const char* text) {
  static_assert(LONGEST_TEXT_UNITS >= LONGEST_TEXT, "room for every text we hand over");
  char16_t units[LONGEST_TEXT_UNITS];
  uint32_t count = static_cast<uint32_t>(Utf8ToUtf16(text, units, LONGEST_TEXT_UNITS));
  static_assert(sizeof(char16_t) == sizeof(uint16_t), "UTF-16 units");
  FMError error = NoFMError();
  void* object = g_fm.newText(&error);
  if (!object || error.code != 0) return nullptr;
  g_fm.assignText(object, reinterpret_cast<const uint16_t*>(units), count, &error);
  if (error.code == 0) return object;
  g_fm.deleteText(object, &error);
  return nullptr;
}

void DeleteText(void* text) {
  FMError error = NoFMError();
  if (text) g_fm.deleteText(text, &error);
}

bool Register(int16_t apiVersion, const FunctionEntry& function) {
  char prototype[LONGEST_TEXT];
  TextBuffer(prototype, sizeof prototype).Add(function.modernName).Add(" ( ").Add(function.parameters).Add(" )");
  void* name = NewText(function.modernName);
  void* shown = NewText(prototype);
  void* description = NewText(function.description);
  FMError error = NoFMError();
  int16_t status = -1;
  if (name && shown && description) {
    int16_t id = static_cast<int16_t>(function.number);
    status = apiVersion >= API_REGISTRATION_WITH_DESCRIPTION
                 ? g_fm.registerFunctionEx(g_pluginId, id, name, shown, description, function.minimumParameters,
                                           function.maximumParameters, FUNCTION_FLAGS, CallFunction, &error)
                 : g_fm.registerFunction(g_pluginId, id, name, shown, function.minimumParameters,
                                         function.maximumParameters, FUNCTION_FLAGS, CallFunction, &error);
  }
  DeleteText(name);
  DeleteText(shown);
  DeleteText(description);
  return status == 0 && error.code == 0;
}

void UnregisterAll() {
  for (size_t i = 0; i < FUNCTION_COUNT; ++i) {
    if (!g_registered[i]) continue;
    FMError error = NoFMError();
    g_fm.unregisterFunction(g_pluginId, static_cast<int16_t>(FUNCTIONS[i].number), &error);
    g_registered[i] = false;
  }
  if (g_pluginId) {
    FMError error = NoFMError();
    g_fm.deleteQuadChar(g_pluginId, &error);
    g_pluginId = nullptr;
  }
}

bool RegisterAll(int16_t apiVersion) {
  FMError error = NoFMError();
  g_pluginId = g_fm.newQuadChar(PLUGIN_ID[0], PLUGIN_ID[1], PLUGIN_ID[2], PLUGIN_ID[3], &error);
  if (!g_pluginId || error.code != 0) return false;
  for (size_t i = 0; i < FUNCTION_COUNT; ++i) {
    if (!OfferedTo(HostInterface::Modern, FUNCTIONS[i])) continue;
    if (!Register(apiVersion, FUNCTIONS[i])) return false;
    g_registered[i] = true;
  }
  return true;
}

FMCurrentEnvironment CurrentEnvironmentOf(const FMModernCallBlock& block) {
  return reinterpret_cast<FMCurrentEnvironment>(block.currentEnvironment);
}

int64_t Init(const FMModernCallBlock& block) {
  if (block.apiVersion < API_FIRST_OF_THIS_SIZE) return INIT_BAD_API_VERSION;
  // Server scripting, web publishing, the Data API: nobody sits at that desk.
  if (!IsFileMakerProItself(block.parm1)) return INIT_DO_NOT_ENABLE;
  if (!BindFMWrapper(g_fm, block.apiVersion >= API_REGISTRATION_WITH_DESCRIPTION)) return INIT_DO_NOT_ENABLE;
  UnregisterAll();  // an init without a shutdown before it must not register twice
  if (!RegisterAll(block.apiVersion)) {
    UnregisterAll();
    return INIT_DO_NOT_ENABLE;
  }
  StartGuard(Guard(), reinterpret_cast<HINSTANCE>(block.instance), HostInterface::Modern);
  Guard().state.commit.askable =
      block.apiVersion >= API_ASKED_FROM_IDLE && CanAskRecordState(g_fm, CurrentEnvironmentOf(block));
  return API_IMPLEMENTED;
}

// Writes the string FileMaker asks for into its buffer, never past its room.
void AnswerString(const FMModernCallBlock& block) {
  uint16_t* answer = reinterpret_cast<uint16_t*>(block.result);
  if (!answer || block.parm3 == 0) return;
  const char* text = "";
  if (block.parm1 == STRING_NAME) text = PLUGIN_NAME;
  if (block.parm1 == STRING_DESCRIPTION) text = PLUGIN_DESCRIPTION;
  if (block.parm1 == STRING_OPTIONS) text = PLUGIN_OPTIONS;
  Widen(text, answer, static_cast<size_t>(block.parm3));
}

void WriteReply(void* result, const char* text) {
  FMError error = NoFMError();
  void* reply = NewText(text);
  void* locale = g_fm.newLocale(FM_LOCALE_SYSTEM, &error);
  if (reply && locale && error.code == 0) g_fm.setDataText(result, reply, locale, FM_NATIVE_TEXT, &error);
  if (locale) g_fm.deleteLocale(locale, &error);
  DeleteText(reply);
}

// Every function answers 0, so that FileMaker shows the reply, never "?".
int16_t FM_CALLBACK CallFunction(int16_t id, const void* /*environment*/, const void* arguments, void* result) {
  const FunctionEntry* function = FindFunction(HostInterface::Modern, static_cast<uint16_t>(id));
  if (!function) return 0;
  char text[PARAMETER_TEXT_SIZE], second[PARAMETER_TEXT_SIZE];
  ParameterText parameter = ReadModernParameter(g_fm.reading, arguments, 0, text);
  Reply reply = {};
  if (function->pairRule)
    function->pairRule(Guard(), parameter, ReadModernParameter(g_fm.reading, arguments, 1, second), reply);
  else
    function->rule(Guard(), parameter, reply);
  PlanLooks(Guard());  // a setting may have moved a deadline
  if (reply.given && result) WriteReply(result, reply.text);
  // A password given to a function must not stay behind in memory.
  SecureZeroMemory(text, sizeof text);
  SecureZeroMemory(second, sizeof second);
  return 0;
}

// Hands one event to FileMaker's script starter; FileMaker's answer, or -1
// when the objects could not be made.
int16_t StartEventScript(FMStartScript start, const EventScript& script, const ScriptEvent& event) {
  char json[SCRIPT_EVENT_TEXT_SIZE];
  FormatScriptEvent(event, json, sizeof json);
  FMError error = NoFMError();
  void* file = NewText(script.fileName);
  void* name = NewText(script.scriptName);
  void* text = NewText(json);
  void* locale = g_fm.newLocale(FM_LOCALE_SYSTEM, &error);
  void* parameter = g_fm.newData(&error);
  int16_t status = -1;
  if (file && name && text && locale && parameter &&
      g_fm.setDataText(parameter, text, locale, FM_NATIVE_TEXT, &error) == 0 && error.code == 0)
    status = start(file, name, SCRIPT_CONTROL_PAUSE, parameter);
  if (parameter) g_fm.deleteData(parameter, &error);
  if (locale) g_fm.deleteLocale(locale, &error);
  DeleteText(text);
  DeleteText(name);
  DeleteText(file);
  return status;
}

// FileMaker's idle call: the one place events leave for the solution's script,
// never at the unsafe level and never while the lock is up. A start FileMaker
// refuses is kept for Lulx_Status and the event dropped, not tried forever; a
// commit it was to make stays due.
void HandOverScriptEvents(const FMModernCallBlock& block) {
  EventScript& script = Guard().state.eventScript;
  FMStartScript start = reinterpret_cast<FMStartScript>(block.startScript);
  NoteIdleAfterHandOver(script, block.parm1 >= IDLE_SCRIPT_PAUSED);
  if (script.count == 0 || block.parm1 == IDLE_UNSAFE || Guard().state.lockIsUp || !start) return;
  // The keys of an exit-record action reach FileMaker before its script is queued.
  if (HIWORD(GetQueueStatus(QS_KEY))) return;
  ScriptEvent event;
  while (TakeScriptEvent(script, event))
    TakeScriptStartAnswer(Guard().state, event, StartEventScript(start, script, event));
}

// A commit that waits for FileMaker's word on its record gets it here, from
// FileMaker's own loop on its own thread, at the person's own idle levels only:
// a script running or paused would answer for its own window and mode. Never
// inside the lock, nor inside a modal dialog of FileMaker's (which disables
// its window: no commit waits for an answer then). Without an answer the
// commit goes on within a second.
void AnswerRecordQuestion(const FMModernCallBlock& block) {
  CommitSteps& steps = Guard().state.commit;
  if (!steps.askDue || block.parm1 >= IDLE_SCRIPT_PAUSED || block.notOnMainThread || Guard().state.lockIsUp) return;
  if (HostShowsDialog(FindHostWindowInUseOrFallback())) return;
  // Asked once, whatever the asking does meanwhile.
  steps.askDue = false;
  steps.answer = AskRecordState(g_fm, CurrentEnvironmentOf(block));
}

}  // namespace

void HandleModernCall(FMModernCallBlock& block) {
  switch (block.callKind) {
    case CALL_INIT:
      block.result = static_cast<uintptr_t>(static_cast<intptr_t>(Init(block)));
      break;
    case CALL_GET_STRING:
      AnswerString(block);
      break;
    case CALL_IDLE:
      AnswerRecordQuestion(block);
      HandOverScriptEvents(block);
      break;
    case CALL_SHUTDOWN:
      UnregisterAll();
      StopGuard(Guard());
      break;
    default:
      break;
  }
}
