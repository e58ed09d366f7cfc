// How long the login waits after wrong passwords: never for the first three in
// a row, then longer after each, up to a ceiling. Nothing ever locks the right
// password out for good.
#pragma once

#include <cstdint>

// The ceiling of the wait.
const int32_t LONGEST_LOGIN_WAIT_SECONDS = 30;

// Seconds before the next try after the wrongInARow-th wrong password in a row.
int32_t SecondsToWaitAfterWrongPassword(int wrongInARow);

// Whole seconds left, rounded up, until a wait that ends at endsAt (a
// millisecond clock that wraps), seen at now; 0 once it has ended.
int32_t SecondsLeftOfWait(uint32_t endsAt, uint32_t now);
