#include "win32/lock/PasswordCheck.h"

#include <cstring>

#include "portable/text/UnicodeText.h"
#include "resources/ResourceIds.h"
#include "win32/lock/LoginWait.h"
#include "win32/system/MessagePump.h"
#include "win32/system/ModuleReference.h"
#include "win32/system/SystemCrypto.h"
#include "win32/system/UserNameCase.h"

namespace {

// What is typed, in the host interface's text, as the password is kept.
void ReadTyped(HWND login, HostInterface hostInterface, char* typed, size_t size) {
  if (hostInterface == HostInterface::Modern) {
    WCHAR units[UNICODE_PASSWORD_FIELD_LIMIT + 1] = L"";
    int count = GetDlgItemTextW(login, IDC_PASSWORD, units, UNICODE_PASSWORD_FIELD_LIMIT + 1);
    static_assert(sizeof(WCHAR) == sizeof(char16_t), "UTF-16 units");
    Utf16ToUtf8(reinterpret_cast<const char16_t*>(units), count > 0 ? count : 0, typed, size);
    SecureZeroMemory(units, sizeof units);
  } else {
    GetDlgItemTextA(login, IDC_PASSWORD, typed, static_cast<int>(size));
  }
}

// One try at a digest: the typed text and the digest as they were when OK was
// pressed. The host's messages go on meanwhile, and a script they start may set
// another password: that applies from the next try.
struct Derivation {
  char typed[PASSWORD_SIZE];
  PasswordDigest digest;
  bool matches;
  LONG holders;    // the login and the worker: the last to let go wipes and frees it
  HMODULE module;  // the worker's own reference to this code
};

void LetGo(Derivation* d) {
  if (InterlockedDecrement(&d->holders) != 0) return;
  SecureZeroMemory(d, sizeof *d);
  HeapFree(GetProcessHeap(), 0, d);
}

// The worker may outlive the login and the plug-in's shutdown: it touches only
// its own copy, and the module stays mapped until it has returned.
DWORD WINAPI DeriveTyped(LPVOID param) {
  Derivation* d = static_cast<Derivation*>(param);
  d->matches = PasswordMatchesDigest(d->typed, d->digest);
  HMODULE module = d->module;
  LetGo(d);
  FreeLibraryAndExitThread(module, 0);
  return 0;
}

// The derivation takes a noticeable moment (600,000 rounds, or as many as the
// digest asks): it runs on a thread of its own while this one goes on painting,
// and keys pressed meanwhile, or still queued when it ends, are dropped, so
// that an Enter queues no second try and closes no refusal unseen. The
// plug-in's shutdown or a WM_QUIT (handed back) abandons it at once: the
// worker finishes alone and nothing of its answer is used.
TryResult CheckOnWorker(HWND login, const LockSession& session, Derivation* d) {
  d->holders = 2;
  d->module = ReferenceToThisModule();
  HANDLE thread = d->module ? CreateThread(nullptr, 0, DeriveTyped, d, 0, nullptr) : nullptr;
  if (!thread) {
    if (d->module) FreeLibrary(d->module);
    bool right = PasswordMatchesDigest(d->typed, d->digest);
    LetGo(d), LetGo(d);
    return right ? TryResult::Right : TryResult::Wrong;
  }
  EnableTyping(login, false);
  bool quit = false, done = false;
  int quitCode = 0;
  while (!quit && !session.ending && !done) {
    done = MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0;
    quit |= DispatchMessagesDroppingKeys(quitCode);
  }
  CloseHandle(thread);
  bool abandoned = quit || session.ending;
  bool right = !abandoned && d->matches;
  LetGo(d);
  if (quit) PostQuitMessage(quitCode);  // the host's, handed back
  if (abandoned) return TryResult::Abandoned;
  EnableTyping(login, true);
  return right ? TryResult::Right : TryResult::Wrong;
}

TryResult MatchesDigest(HWND login, LoginRequest& request, const PasswordDigest& digest) {
  Derivation* d = static_cast<Derivation*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(Derivation)));
  if (!d) {  // no room for the worker's copy: checked here, the host waiting
    char typed[PASSWORD_SIZE] = "";
    ReadTyped(login, request.hostInterface, typed, sizeof typed);
    bool right = PasswordMatchesDigest(typed, digest);
    SecureZeroMemory(typed, sizeof typed);
    return right ? TryResult::Right : TryResult::Wrong;
  }
  ReadTyped(login, request.hostInterface, d->typed, sizeof d->typed);
  d->digest = digest;
  request.checking = true;
  TryResult result = CheckOnWorker(login, request.guard->lockSession, d);
  request.checking = false;
  return result;
}

// The person chosen in the list, WORKSTATION_UNLOCKED for the workstation's
// entry (or where there is no list), NOBODY_UNLOCKED when nothing is chosen.
int ChosenEntry(HWND login, const LoginRequest& request) {
  if (request.people.count == 0) return WORKSTATION_UNLOCKED;
  LRESULT chosen = SendDlgItemMessageW(login, IDC_LOGIN_NAME, CB_GETCURSEL, 0, 0);
  if (chosen >= 0 && chosen < request.people.count) return static_cast<int>(chosen);
  if (chosen == request.people.count && request.workstationEntry) return WORKSTATION_UNLOCKED;
  return NOBODY_UNLOCKED;
}

}  // namespace

TryResult TypedMatches(HWND login, LoginRequest& request) {
  const Settings& s = request.guard->state.settings;
  int chosen = ChosenEntry(login, request);
  if (chosen == NOBODY_UNLOCKED) return TryResult::Wrong;
  request.unlockedBy = chosen;
  if (chosen >= 0) {
    int now = FindUnlockUser(s.unlockUsers, request.people.users[chosen].name, SameUserName);
    if (now < 0) return TryResult::Wrong;
    PasswordDigest digest = s.unlockUsers.users[now].digest;
    return MatchesDigest(login, request, digest);
  }
  if (s.passwordKind == PasswordKind::Digest) {
    PasswordDigest digest = s.digest;
    return MatchesDigest(login, request, digest);
  }
  char typed[PASSWORD_SIZE] = "";
  ReadTyped(login, request.hostInterface, typed, sizeof typed);
  bool right = std::strcmp(typed, s.password) == 0;
  SecureZeroMemory(typed, sizeof typed);
  return right ? TryResult::Right : TryResult::Wrong;
}
