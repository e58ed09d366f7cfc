#include "portable/engine/GuardState.h"

void ResetForInit(GuardState& state) {
  Settings& s = state.settings;
  s.recordLimitSeconds = 0;
  s.fileMakerLimitSeconds = 0;
  s.commitOnLeaving = false;
  s.countInBackground = false;
  s.lockWithWindows = false;
  s.lockWarningSeconds = 0;
  s.lockMessage[0] = '\0';
  state.recordIdle.ticks = 0;
  state.fileMakerIdle.ticks = 0;
  state.recordCommitted = false;
  // A commit under way ends with the timer that drove it; whether FileMaker
  // can be asked, init says anew.
  state.commit = CommitSteps();
  SetEventScript(state.eventScript, "", "");
  state.eventScript.lastStartError = 0;
}
