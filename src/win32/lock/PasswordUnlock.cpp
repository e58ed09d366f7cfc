#include "win32/lock/PasswordUnlock.h"

#include <cstring>

#include "win32/lock/HiddenHostWindows.h"
#include "win32/system/MessagePump.h"
#include "win32/system/UserNameCase.h"
#include "win32/watch/WatchedCounts.h"

void StartCountsAfterLogin(WorkstationGuard& guard) {
  DeliverTypedKeys();
  StartCountNow(guard, WatchedCount::Record);
  StartCountNow(guard, WatchedCount::FileMaker);
}

void UnlockAtPassword(LoginRequest& request) {
  WorkstationGuard& guard = *request.guard;
  LockSession& session = guard.lockSession;
  request.passwordTaken = true;
  // Nobody can answer a box that is hidden.
  GiveBackHostWindows(guard.lockedWindows);
  guard.state.lockIsUp = session.held = false;
  StartCountsAfterLogin(guard);
  bool namesUser = request.people.count > 0;
  const char* user = request.unlockedBy >= 0 ? request.people.users[request.unlockedBy].name : "";
  if (namesUser) NoteWhoUnlocked(guard.state.settings.unlockUsers, user, SameUserName);
  // The unlock stands for the whole lock, the commit before it included.
  ScriptEvent event = {ScriptEventKind::Unlock,
                       session.cause,
                       (GetTickCount() - session.lockedAt) / 1000,
                       static_cast<uint32_t>(session.wrongPasswords),
                       namesUser,
                       "",
                       false,
                       CommitTook::Unknown};
  std::strncpy(event.user, user, USER_NAME_SIZE - 1);
  QueueScriptEvent(guard.state.eventScript, event);
}
