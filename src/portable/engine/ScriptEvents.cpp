#include "portable/engine/ScriptEvents.h"

#include <cstdio>
#include <cstring>

namespace {

void CopyName(char* name, const char* text) {
  std::strncpy(name, text, SCRIPT_NAME_SIZE - 1);
  name[SCRIPT_NAME_SIZE - 1] = '\0';
}

}  // namespace

void SetEventScript(EventScript& script, const char* fileName, const char* scriptName) {
  CopyName(script.fileName, fileName);
  CopyName(script.scriptName, scriptName);
  script.first = script.count = 0;
}

void QueueScriptEvent(EventScript& script, const ScriptEvent& event) {
  if (script.scriptName[0] == '\0') return;
  if (script.count == SCRIPT_EVENT_QUEUE_SIZE) {
    script.first = (script.first + 1) % SCRIPT_EVENT_QUEUE_SIZE;
    --script.count;
  }
  script.waiting[(script.first + script.count) % SCRIPT_EVENT_QUEUE_SIZE] = event;
  ++script.count;
}

bool TakeScriptEvent(EventScript& script, ScriptEvent& event) {
  if (script.count == 0) return false;
  event = script.waiting[script.first];
  script.first = (script.first + 1) % SCRIPT_EVENT_QUEUE_SIZE;
  --script.count;
  return true;
}

void FormatScriptEvent(const ScriptEvent& event, char* text, size_t size) {
  switch (event.kind) {
    case ScriptEventKind::CommitAtRecordLimit:
      std::snprintf(text, size, "{\"event\":\"commit\",\"reason\":\"idle\"}");
      break;
    case ScriptEventKind::CommitOnLeaving:
      std::snprintf(text, size, "{\"event\":\"commit\",\"reason\":\"leaving\"}");
      break;
    case ScriptEventKind::Unlock:
      std::snprintf(text, size, "{\"event\":\"unlock\",\"seconds\":%lu,\"wrongPasswords\":%lu,\"cause\":\"%s\"}",
                    static_cast<unsigned long>(event.seconds), static_cast<unsigned long>(event.wrongPasswords),
                    event.cause == LockCause::LockNow ? "locknow" : "idle");
      break;
  }
}
