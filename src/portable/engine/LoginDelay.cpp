#include "portable/engine/LoginDelay.h"

namespace {

const int FREE_TRIES = 3;
const int32_t FIRST_WAIT_SECONDS = 2;

}  // namespace

int32_t SecondsToWaitAfterWrongPassword(int wrongInARow) {
  if (wrongInARow <= FREE_TRIES) return 0;
  int32_t wait = FIRST_WAIT_SECONDS;
  // Doubles with each wrong password: 2, 4, 8, 16, then the ceiling.
  for (int i = FREE_TRIES + 1; i < wrongInARow && wait < LONGEST_LOGIN_WAIT_SECONDS; ++i) wait *= 2;
  return wait < LONGEST_LOGIN_WAIT_SECONDS ? wait : LONGEST_LOGIN_WAIT_SECONDS;
}

int32_t SecondsLeftOfWait(uint32_t endsAt, uint32_t now) {
  int32_t left = static_cast<int32_t>(endsAt - now);
  return left > 0 ? (left + 999) / 1000 : 0;
}
