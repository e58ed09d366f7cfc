#include "portable/engine/ScriptEvents.h"

#include <cstring>
#include <iterator>

#include "portable/text/TextBuffer.h"

namespace {

void CopyName(char* name, const char* text) {
  std::strncpy(name, text, SCRIPT_NAME_SIZE - 1);
  name[SCRIPT_NAME_SIZE - 1] = '\0';
}

// Writes text into out (size bytes) as the inside of a JSON string: quote,
// backslash and control characters escaped; cut before an escape that does
// not fit.
void EscapeForJson(const char* text, char* out, size_t size) {
  const char HEX[] = "0123456789abcdef";
  size_t used = 0;
  out[0] = '\0';
  for (const unsigned char* at = reinterpret_cast<const unsigned char*>(text); *at; ++at) {
    char escaped[7] = {static_cast<char>(*at), 0};
    if (*at == '"' || *at == '\\') {
      escaped[0] = '\\', escaped[1] = static_cast<char>(*at), escaped[2] = 0;
    } else if (*at < 0x20) {
      std::memcpy(escaped, "\\u00", 4);
      escaped[4] = HEX[*at >> 4], escaped[5] = HEX[*at & 15], escaped[6] = 0;
    }
    size_t length = std::strlen(escaped);
    if (used + length + 1 > size) return;
    std::memcpy(out + used, escaped, length + 1);
    used += length;
  }
}

// By LockCause.
const char* const CAUSE_NAMES[] = {"idle", "locknow", "windowslocked"};
static_assert(std::size(CAUSE_NAMES) == static_cast<size_t>(LockCause::WindowsLocked) + 1, "a name for each cause");

const char* CauseName(LockCause cause) { return CAUSE_NAMES[static_cast<int>(cause)]; }

const char* ReasonName(const ScriptEvent& event) {
  switch (event.kind) {
    case ScriptEventKind::CommitOnLeaving:
      return "leaving";
    case ScriptEventKind::CommitWindowsLocked:
      return "windowslocked";
    case ScriptEventKind::CommitBeforeLock:
      return CauseName(event.cause);
    default:
      return "idle";
  }
}

}  // namespace

void SetEventScript(EventScript& script, const char* fileName, const char* scriptName) {
  CopyName(script.fileName, fileName);
  CopyName(script.scriptName, scriptName);
  script.first = script.count = 0;
  script.askedCommitWaiting = script.askedCommitHandedOver = false;
}

ScriptEvent CommitEvent(ScriptEventKind kind, bool typed, LockCause cause) {
  ScriptEvent event = {};
  event.kind = kind;
  event.cause = cause;
  event.typed = typed;
  return event;
}

bool ScriptHearsEvents(const EventScript& script) { return script.scriptName[0] != '\0'; }

void QueueScriptEvent(EventScript& script, const ScriptEvent& event) {
  if (!ScriptHearsEvents(script)) return;
  if (event.kind != ScriptEventKind::Unlock && !event.typed)
    script.askedCommitWaiting = true, script.askedCommitHandedOver = false;
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
  if (script.count == 0 && script.askedCommitWaiting) script.askedCommitHandedOver = true;
  return true;
}

void NoteIdleAfterHandOver(EventScript& script, bool scriptRunning) {
  if (script.askedCommitHandedOver && script.count == 0 && !scriptRunning)
    script.askedCommitWaiting = script.askedCommitHandedOver = false;
}

void FormatScriptEvent(const ScriptEvent& event, char* text, size_t size) {
  if (size == 0) return;
  TextBuffer json(text, size);
  switch (event.kind) {
    case ScriptEventKind::CommitAtRecordLimit:
    case ScriptEventKind::CommitOnLeaving:
    case ScriptEventKind::CommitWindowsLocked:
    case ScriptEventKind::CommitBeforeLock:
      json.Add("{\"event\":\"commit\",\"reason\":\"").Add(ReasonName(event)).Add("\",\"typed\":");
      json.Add(event.typed ? "true" : "false");
      if (event.took != CommitTook::Unknown)
        json.Add(",\"committed\":").Add(event.took == CommitTook::Yes ? "true" : "false");
      json.Add("}");
      break;
    case ScriptEventKind::Unlock:
      json.Add("{\"event\":\"unlock\",\"seconds\":").AddNumber(event.seconds);
      json.Add(",\"wrongPasswords\":").AddNumber(event.wrongPasswords);
      json.Add(",\"cause\":\"").Add(CauseName(event.cause)).Add("\"");
      if (event.namesUser) {
        char user[2 * USER_NAME_SIZE];
        EscapeForJson(event.user, user, sizeof user);
        json.Add(",\"user\":\"").Add(user).Add("\"");
      }
      json.Add("}");
      break;
  }
}
