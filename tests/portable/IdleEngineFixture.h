// The user and the desktop as the idle engine's timer dialog would observe
// them, and a fixture that drives both counts tick by tick.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "portable/engine/IdleEngine.h"

// The user and the desktop as the timer dialog would observe them.
struct World {
  uint8_t keys[KEYBOARD_STATE_SIZE] = {};
  Point cursor = {100, 100};
  bool hostActive = true, hostInFront = true, otherApp = false;
  bool cursorReadable = true, keysReadable = true;

  uint32_t keyPresses = 0, wheelTurns = 0;
  bool windowsDates = false;  // Windows 2000 and later: the last input has a date
  uint32_t lastInput = 0;

  // Keys into FileMaker's own window, as its hooks count them, open the
  // record again: dated at the next look.
  uint32_t hostKeyPresses = 0;
  mutable uint32_t hostKeysSeen = 0, hostKeyAt = 0;

  void Type() { keys[0x91] ^= 1, hostKeyPresses += hostActive; }  // a toggle bit alone is a change
  void TypeUnseenByKeyboardState() { ++keyPresses, hostKeyPresses += hostActive; }
  void Move() { ++cursor.x; }
  void Scroll() { ++wheelTurns; }
  void LeaveForAnotherApplication() { hostActive = hostInFront = false, otherApp = true; }
  void OpenHostDialog() { hostActive = false; }  // in front, of the host's process
  TickObservation Seen(uint32_t now) const {
    TickObservation seen = {
        cursor, cursorReadable, keysReadable ? keys : nullptr, hostActive, hostInFront, otherApp, keyPresses, now};
    seen.wheelTurns = wheelTurns;
    seen.inputDatedByWindows = windowsDates;
    if (hostKeyPresses != hostKeysSeen) hostKeysSeen = hostKeyPresses, hostKeyAt = now;
    seen.hostKeyPresses = hostKeyPresses;
    seen.firstNewHostKeyAt = hostKeyAt;
    return seen;
  }
};

class IdleEngine : public ::testing::Test {
 protected:
  void SetUp() override { Start(1000); }
  // Both timers armed with the clock at `clock`.
  void Start(uint32_t clock) {
    std::memset(&state, 0, sizeof state);
    recordClock = fileMakerClock = clock;
    TakeSnapshot(state.recordIdle, world.cursor, world.keys, world.keyPresses);
    TakeSnapshot(state.fileMakerIdle, world.cursor, world.keys, world.keyPresses);
    RestartCount(state.recordIdle, recordClock);
    RestartCount(state.fileMakerIdle, fileMakerClock);
  }
  // Time passes and no tick comes: the machine sleeps, the host is busy.
  void Sleep(uint32_t ms) { recordClock += ms, fileMakerClock += ms; }
  // What the timer dialog does with the attempts: the first that types commits.
  void Carry(const TickActions& act) {
    int tried = act.exitRecordAttempts;
    if (tried > 0 && actionTypes) state.recordCommitted = true, tried = 1;
    attempts += tried;
    locks += act.openLock;
  }
  // Each timer's tick comes `ms` after its last one: the two run on their own.
  TickActions Record(uint32_t ms = TICK_MS) {
    TickObservation seen = world.Seen(recordClock += ms);
    DateLastInput(seen, state.recordIdle, world.lastInput);
    if (CommitOnLeavingDue(state, seen)) Carry({1});
    TickActions act = RecordTick(state, seen);
    Carry(act);
    return act;
  }
  TickActions FileMaker(uint32_t ms = TICK_MS) {
    TickObservation seen = world.Seen(fileMakerClock += ms);
    DateLastInput(seen, state.fileMakerIdle, world.lastInput);
    TickActions act = FileMakerTick(state, seen);
    Carry(act);
    return act;
  }
  GuardState state;
  World world;
  uint32_t recordClock, fileMakerClock;
  bool actionTypes = true;  // whether an exit-record attempt gets its keys in
  int attempts = 0, locks = 0;
};
