// The steps the end-to-end scenarios share: the lock's lines as the host
// stand-in prints them, and the password "pw" set, waited for and typed.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "HostRun.h"

inline constexpr char kLockUp[] = "window \"Please Login\" appeared";
inline constexpr char kLockGone[] = "window \"Please Login\" gone";
inline constexpr char kDenied[] = "window \"Incorrect password\" appeared: \"Access Denied\"";

using Steps = std::vector<std::string>;

// The parts, one after another.
inline Steps Join(std::initializer_list<Steps> parts) {
  Steps steps;
  for (const Steps& part : parts) steps.insert(steps.end(), part.begin(), part.end());
  return steps;
}

// The host's init and the workstation password "pw", then the steps.
inline Steps WithPw(const Steps& steps) { return Join({{"init", "call Lulx-SetWorkstationPassword pw"}, steps}); }

inline std::string WaitForLock(int ms) { return "waitfor " + std::to_string(ms) + " " + kLockUp; }

// "pw" typed at the lock that is up, and its end waited for.
inline Steps TypingPw() {
  return {"say typing the password", "type pw", "key ENTER", "waitfor 5000 " + std::string(kLockGone)};
}

// The steps, then: the lock waited for (at most ms), "pw" typed at it, its end, quit.
inline Steps ThenUnlockWithPw(const Steps& steps, int ms = 10000) {
  return Join({steps, {WaitForLock(ms), "type pw", "key ENTER", "waitfor 5000 " + std::string(kLockGone), "quit"}});
}
