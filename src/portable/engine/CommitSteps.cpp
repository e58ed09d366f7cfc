#include "portable/engine/CommitSteps.h"

bool BeginCommitSteps(CommitSteps& steps, const CommitReason& reason, int32_t attempts, uint32_t now, bool mayAsk) {
  steps.reason = reason;
  steps.attempts = attempts;
  steps.keysLeft = 0;
  steps.typed = false;
  steps.startedAt = now;
  if (!steps.askable || !mayAsk) return false;
  EnterStage(steps, CommitStage::AskingFirst, now);
  return true;
}

void EnterStage(CommitSteps& steps, CommitStage stage, uint32_t now) {
  steps.stage = stage;
  steps.stageSince = now;
  bool asking = stage == CommitStage::AskingFirst || stage == CommitStage::AskingAfter;
  steps.askDue = asking;
  if (asking) steps.answer = RecordAnswer();
}

bool CommitUnderWay(const CommitSteps& steps, uint32_t now) {
  return steps.stage != CommitStage::None && now - steps.startedAt < COMMIT_STEPS_MOST_MS;
}

bool AnswerOrWaitOver(const CommitSteps& steps, uint32_t now) {
  return !steps.askDue || now - steps.stageSince >= ANSWER_WAIT_MS;
}

bool NothingToType(const RecordAnswer& answer) {
  return answer.known && (answer.openState == 0 || answer.windowMode != 0);
}

CommitTook TookFrom(const RecordAnswer& answer) {
  if (!answer.known) return CommitTook::Unknown;
  return answer.openState == 0 ? CommitTook::Yes : CommitTook::No;
}

bool EndCommitSteps(CommitSteps& steps, CommitTook took, ScriptEvent& event) {
  steps.stage = CommitStage::None;
  steps.askDue = false;
  if (took != CommitTook::Unknown) steps.lastTook = took;
  if (!steps.typed) return false;
  // The lock's own commit is news only when the record stayed open behind it.
  if (!steps.reason.eventWhenTyped && took != CommitTook::No) return false;
  event = CommitEvent(steps.reason.kind, true, steps.reason.cause);
  event.took = took;
  return true;
}
