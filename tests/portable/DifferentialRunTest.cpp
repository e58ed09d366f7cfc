// The same engine looking only at its deadlines against looking four times a
// second, over seeded days at the desk: commits, locks and the warning must
// agree within a look. A disagreement prints its seed and the shortest day
// that still shows it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <sstream>
#include <vector>

#include "portable/engine/IdleEngine.h"
#include "portable/engine/PersonsInput.h"
#include "portable/engine/TickPlan.h"

namespace {
int g_daysCut;

enum Kind {
  TypeInHost,
  TypeElsewhere,
  Move,
  Wheel,
  Leave,
  Back,
  BackByItself,  // the program in front closed itself: no input
  Busy,
  RecordLimit,
  FileMakerLimit,
  Warning,
  Unlock,
  Status,
  LeavingSwitch,
  BackgroundSwitch
};
const char* const KIND_NAMES[] = {
    "type-in-filemaker", "type-elsewhere",  "move",    "wheel",  "leave",  "back",           "back-by-itself",   "busy",
    "record-limit",      "filemaker-limit", "warning", "unlock", "status", "leaving-switch", "background-switch"};

// The person's hand on the mouse or the keyboard: Windows dates it.
bool IsInput(Kind kind) { return kind <= Wheel || kind == Leave || kind == Back || kind == Unlock; }

struct Event {
  uint32_t at;
  Kind kind;
  int32_t value;  // a limit, a warning, or how long FileMaker is busy
};

struct Outcome {
  // 'r' record limit's commit, 'l' commit on leaving, 'b' the lock's commit,
  // 'L' lock, 'w' warning, 's' the status line's idle seconds (record, then
  // FileMaker)
  char what;
  uint32_t at;
  int32_t value;
};

const uint32_t START = 1000, DAY_MS = 90000, NEVER = UINT32_MAX;

// One engine through one day, looking every 250 ms (fourTimesASecond) or
// where its plan says, and where FileMaker comes or goes.
class Desk {
 public:
  Desk(const std::vector<Event>& day, bool fourTimesASecond) : day_(day), steady_(fourTimesASecond) {
    state_ = GuardState();
  }

  std::vector<Outcome> Run() {
    uint32_t nextRecord = START, nextFileMaker = START + TICK_MS / 2;
    size_t e = 0;
    for (uint32_t now = START; now < START + DAY_MS; ++now) {
      for (; e < day_.size() && day_[e].at == now; ++e) Happen(day_[e], nextRecord, nextFileMaker);
      if (now < busyUntil_) continue;  // looks wait for FileMaker
      if (activationWaiting_) Activated(now, nextRecord, nextFileMaker);
      activationWaiting_ = false;
      if (now >= nextRecord) nextRecord = now + RecordLook(now);
      if (now >= nextFileMaker) nextFileMaker = now + FileMakerLook(now);
    }
    return out_;
  }

  // The first of Lullex's own keys that an input of the person's came so
  // close after that Windows' date cannot tell them apart; NEVER if none.
  uint32_t FirstBlurringOwnKey() const {
    for (uint32_t own : ownKeys_)
      for (const Event& event : day_)
        if (IsInput(event.kind) && event.at >= own && event.at - own < uint32_t(OWN_INPUT_SLACK_MS)) return own;
    return NEVER;
  }

 private:
  // What the person did by now; Lullex's own keys are dated by Windows too.
  TickObservation Seen(uint32_t now) const {
    TickObservation seen = {};
    uint32_t windowsDate = START, threadInput = START;
    for (const Event& event : day_) {
      if (event.at > now) break;
      Kind k = event.kind;
      if (IsInput(k)) windowsDate = event.at;
      if (k == Wheel) threadInput = event.at;
      seen.cursor.x += k == Move;
      seen.wheelTurns += k == Wheel;
    }
    for (uint32_t at : hostKeys_) {
      if (at > now) break;
      threadInput = std::max(threadInput, at);
      if (seen.hostKeyPresses++ == state_.hostPressesTakenIn) seen.firstNewHostKeyAt = at;
      ++seen.keyPresses;
    }
    if (!ownKeys_.empty() && ownKeys_.back() > windowsDate) windowsDate = ownKeys_.back();
    seen.cursorRead = true;
    seen.hostActive = seen.hostInFront = inFront_;
    seen.otherAppInFront = !inFront_;
    seen.now = now;
    seen.inputDatedByWindows = true;
    seen.activityAt = PersonsLastInputFrom(own_, windowsDate, true, threadInput);
    return seen;
  }

  // What the watching thread saw since `since`, had it watched all along.
  WatchedQuiet Watched(uint32_t since, uint32_t now) const {
    WatchedQuiet quiet = {true, false, now - since, 0, since};
    for (const Event& event : day_) {
      if (event.at > now) break;
      if (!IsInput(event.kind) || event.at <= since) continue;
      if (!quiet.activitySince) quiet.firstQuietMs = event.at - since;
      if (quiet.activitySince) quiet.longestLaterMs = std::max(quiet.longestLaterMs, event.at - quiet.lastActivity);
      quiet.activitySince = true;
      quiet.lastActivity = event.at;
    }
    if (quiet.activitySince) quiet.longestLaterMs = std::max(quiet.longestLaterMs, now - quiet.lastActivity);
    return quiet;
  }

  TickObservation Look(uint32_t now, const IdleCounter& counter) const {
    TickObservation seen = Seen(now);
    DateLastInput(seen, counter, seen.activityAt);
    seen.watched = Watched(counter.countedUpTo, now);
    return seen;
  }

  // The commit is made at once; its keys are Lullex's own.
  void Commit(char why, uint32_t now) {
    TickObservation seen = Seen(now);
    TakeInHostTyping(state_, seen);
    NoteOwnKey(own_, seen.activityAt, now);
    ownKeys_.push_back(now);
    state_.recordCommitted = true;
    out_.push_back({why, now, 0});
  }

  uint32_t RecordLook(uint32_t now) {
    TickObservation seen = Look(now, state_.recordIdle);
    if (CommitOnLeavingDue(state_, seen)) {
      Commit('l', now);
      seen = Look(now, state_.recordIdle);
      seen.hostActive = true;  // the commit brought FileMaker forward
    }
    TickActions act = RecordTick(state_, seen);
    if (act.exitRecordAttempts > 0) Commit('r', now);
    bool pending = state_.settings.commitOnLeaving && !state_.recordCommitted && !inFront_;
    return steady_ ? TICK_MS : MsToRecordTick(state_, now, pending);
  }

  uint32_t FileMakerLook(uint32_t now) {
    TickActions act = FileMakerTick(state_, Look(now, state_.fileMakerIdle));
    if (act.exitRecordAttempts > 0) Commit('b', now);
    if (act.openLock) state_.lockIsUp = true, out_.push_back({'L', now, 0});
    if (act.lockWarningSeconds != warningShown_) out_.push_back({'w', now, act.lockWarningSeconds});
    warningShown_ = act.lockWarningSeconds;
    uint32_t ms = steady_ ? TICK_MS : MsToFileMakerTick(state_, now);
    return ms == NO_TICK_DUE ? DAY_MS : ms;
  }

  void StartCount(IdleCounter& counter, uint32_t now) {
    TickObservation seen = Seen(now);
    TakeSnapshot(counter, seen.cursor, nullptr, seen.keyPresses, seen.wheelTurns, seen.activityAt);
    RestartCount(counter, now);
  }

  // FileMaker came to the front or left it: both counts look soon, and a
  // count held behind runs from now.
  void Activated(uint32_t now, uint32_t& nextRecord, uint32_t& nextFileMaker) {
    if (inFront_) CountFromComingBack(state_, Look(now, state_.fileMakerIdle));
    if (steady_) return;
    nextRecord = std::min(nextRecord, now + ACTIVATION_LOOK_MS);
    nextFileMaker = std::min(nextFileMaker, now + ACTIVATION_LOOK_MS);
  }

  // A call or an event; where it changes a deadline, the plan looks again.
  void Happen(const Event& event, uint32_t& nextRecord, uint32_t& nextFileMaker) {
    Settings& s = state_.settings;
    uint32_t now = event.at, soon = steady_ ? nextFileMaker : now;
    switch (event.kind) {
      case Leave:
      case Back:
      case BackByItself:
        inFront_ = event.kind != Leave;
        // Windows tells FileMaker's thread, which hears it once it is free.
        activationWaiting_ = now < busyUntil_;
        if (!activationWaiting_) Activated(now, nextRecord, nextFileMaker);
        return;
      case Status:
        if (now >= busyUntil_) {
          IdleFigures idle = IdleFiguresAt(state_, Seen(now));
          out_.push_back({'s', now, idle.recordSeconds}), out_.push_back({'s', now, idle.fileMakerSeconds});
        }
        return;
      case LeavingSwitch:
        s.commitOnLeaving = event.value % 2;
        if (!steady_) nextRecord = std::min(nextRecord, now);
        return;
      case BackgroundSwitch:
        s.countInBackground = event.value % 2;
        if (s.countInBackground && state_.fileMakerCountHeld) StartCount(state_.fileMakerIdle, now);
        state_.fileMakerCountHeld &= !s.countInBackground;
        nextFileMaker = soon;
        return;
      case TypeInHost:
        // Otherwise into whatever is in front: the other program, the login.
        if (inFront_ && !state_.lockIsUp) hostKeys_.push_back(now);
        return;
      case Busy:
        busyUntil_ = std::max(busyUntil_, now + event.value);
        return;
      case RecordLimit:
        s.recordLimitSeconds = event.value;
        StartCount(state_.recordIdle, now);
        if (!steady_) nextRecord = now;
        return;
      case FileMakerLimit:
        s.fileMakerLimitSeconds = event.value;
        StartCount(state_.fileMakerIdle, now);
        nextFileMaker = soon;
        return;
      case Warning:
        s.lockWarningSeconds = event.value;
        nextFileMaker = soon;
        return;
      case Unlock:
        if (!state_.lockIsUp) return;
        state_.lockIsUp = false;
        StartCount(state_.recordIdle, now);
        StartCount(state_.fileMakerIdle, now);
        nextRecord = steady_ ? nextRecord : now;
        nextFileMaker = soon;
        return;
      default:
        return;
    }
  }

  const std::vector<Event>& day_;
  bool steady_;
  GuardState state_;
  OwnInputNote own_ = {};
  std::vector<uint32_t> ownKeys_, hostKeys_;
  bool inFront_ = true, activationWaiting_ = false;
  uint32_t busyUntil_ = 0;
  int32_t warningShown_ = 0;
  std::vector<Outcome> out_;
};

std::vector<Event> DayOf(uint32_t seed) {
  std::mt19937 random(seed);
  auto pick = [&](int n) { return static_cast<int32_t>(random() % n); };
  std::vector<Event> day = {{START, RecordLimit, 2 + pick(8)}, {START, FileMakerLimit, 3 + pick(12)}};
  if (pick(2)) day.push_back({START, Warning, 1 + pick(5)});
  for (uint32_t at = START; (at += 50 + pick(6000)) < START + DAY_MS - 20000;) {
    Kind kind = static_cast<Kind>(pick(BackgroundSwitch + 1));
    int32_t value = kind == Busy ? 300 + pick(15000) : kind == Warning ? pick(6) : 1 + pick(12);
    day.push_back({at, kind, value});
    // Typing comes in bursts.
    for (int burst = kind <= Wheel ? pick(8) : 0; burst > 0; --burst) day.push_back({at += 60 + pick(400), kind, 0});
  }
  std::stable_sort(day.begin(), day.end(), [](const Event& a, const Event& b) { return a.at < b.at; });
  return day;
}

// Each kind of outcome in order, apart from the others: two within a look
// of each other may come in either order.
std::vector<Outcome> OfKind(const std::vector<Outcome>& all, const char* kinds) {
  std::vector<Outcome> some;
  for (const Outcome& o : all)
    if (std::strchr(kinds, o.what)) some.push_back(o);
  return some;
}

// The seconds the notice shows every 25 ms of the day; what stands for a look
// or less is what a look may or may not see.
const uint32_t STEP_MS = 25;
const int32_t ANY_SECONDS = -1;
std::vector<int32_t> Shown(const std::vector<Outcome>& warnings) {
  std::vector<int32_t> shown(DAY_MS / STEP_MS, 0);
  for (size_t w = 0; w < warnings.size(); ++w) {
    const Outcome& o = warnings[w];
    bool brief = w + 1 < warnings.size() && warnings[w + 1].at - o.at <= TICK_MS;
    for (uint32_t i = (o.at - START + STEP_MS - 1) / STEP_MS; i < shown.size(); ++i)
      shown[i] = brief ? ANY_SECONDS : o.value;
  }
  return shown;
}

// Whether each shows what the other shows within a look of the moment, but
// while FileMaker is busy (its notice stands still) or about to be, or just
// after the person's input.
bool NoticesAgree(const std::vector<Outcome>& a, const std::vector<Outcome>& b, const std::vector<Event>& day,
                  uint32_t cut) {
  std::vector<int32_t> one = Shown(a), other = Shown(b);
  std::vector<bool> busy(one.size(), false);
  for (const Event& event : day) {
    // After the person's input the notice closes until a look finds them
    // quiet: when that look comes depends on where the looks fall.
    uint32_t unseen = event.kind == Busy ? event.value : IsInput(event.kind) ? 2 * TICK_MS : 0;
    if (!unseen) continue;
    size_t from = (event.at - TICK_MS - START) / STEP_MS, to = (event.at + unseen - START) / STEP_MS + 1;
    for (size_t i = from; i <= to && i < busy.size(); ++i) busy[i] = true;
  }
  const int32_t near = TICK_MS / STEP_MS;
  for (int32_t i = 0; i < static_cast<int32_t>(one.size()); ++i) {
    if (cut != NEVER && START + i * STEP_MS + TICK_MS >= cut) break;
    bool seen = busy[i], seenBack = busy[i];
    for (int32_t j = std::max(0, i - near); j <= std::min<int32_t>(one.size() - 1, i + near); ++j) {
      seen |= other[j] == one[i] || other[j] == ANY_SECONDS || one[i] == ANY_SECONDS;
      seenBack |= one[j] == other[i] || one[j] == ANY_SECONDS || other[i] == ANY_SECONDS;
    }
    if (!seen || !seenBack) return false;
  }
  return true;
}

std::string Listed(const std::vector<Outcome>& outcomes) {
  std::ostringstream text;
  for (const Outcome& o : outcomes) text << ' ' << o.what << o.value << '@' << o.at;
  return text.str();
}

// The record limit's commit and the lock's, falling due within a look of
// each other, are one commit: whichever look comes first makes it.
bool SameReason(char one, char other) { return one == other || (std::strchr("rb", one) && std::strchr("rb", other)); }

// The first commit or lock that anything happened within a look of: which
// came first, a look four times a second may or may not tell, and the day
// may part from there on; NEVER if none.
uint32_t FirstTie(const std::vector<Event>& day, const std::vector<Outcome>& outcomes) {
  uint32_t tie = NEVER;
  for (const Outcome& o : outcomes)
    for (const Event& event : day)
      if (o.what != 'w' && o.what != 's' && event.at + TICK_MS >= o.at && event.at <= o.at + TICK_MS)
        tie = std::min(tie, o.at);
  return tie;
}

// What comes before `cut`, a look's margin left out.
std::vector<Outcome> Before(const std::vector<Outcome>& outcomes, uint32_t cut) {
  std::vector<Outcome> before;
  for (const Outcome& o : outcomes)
    if (cut == NEVER || o.at + TICK_MS < cut) before.push_back(o);
  return before;
}

// The first difference between the two lists, or empty. Up to a tie, each
// outcome of one has its match in the other within a look.
std::string Difference(const std::vector<Outcome>& steady, const std::vector<Outcome>& planned,
                       const std::vector<Event>& day, uint32_t cut) {
  for (const char* kinds : {"rlb", "L"}) {
    std::vector<Outcome> a = OfKind(steady, kinds), b = OfKind(planned, kinds), a0 = Before(a, cut),
                         b0 = Before(b, cut);
    bool same = true;
    for (size_t i = 0; same && i < std::max(a0.size(), b0.size()); ++i) {
      bool both = i < a.size() && i < b.size();
      int32_t apart = both ? static_cast<int32_t>(a[i].at - b[i].at) : INT32_MAX;
      same = both && SameReason(a[i].what, b[i].what) && apart <= int32_t(TICK_MS) && -apart <= int32_t(TICK_MS);
    }
    if (!same) return "every 250 ms:" + Listed(a) + "\nat deadlines:" + Listed(b);
  }
  std::vector<Outcome> a = Before(OfKind(steady, "s"), cut), b = Before(OfKind(planned, "s"), cut);
  bool same = a.size() == b.size();
  for (size_t i = 0; same && i < a.size(); ++i) same = a[i].value - b[i].value <= 1 && b[i].value - a[i].value <= 1;
  if (!same) return "the status every 250 ms:" + Listed(a) + "\nat deadlines:" + Listed(b);
  a = OfKind(steady, "w"), b = OfKind(planned, "w");
  if (!NoticesAgree(a, b, day, cut)) return "the notice every 250 ms:" + Listed(a) + "\nat deadlines:" + Listed(b);
  return "";
}

// Empty when both agree up to the first tie.
std::string Disagreement(const std::vector<Event>& day) {
  Desk steadyDesk(day, true), plannedDesk(day, false);
  std::vector<Outcome> steady = steadyDesk.Run(), planned = plannedDesk.Run();
  uint32_t cut = std::min({FirstTie(day, steady), FirstTie(day, planned), steadyDesk.FirstBlurringOwnKey(),
                           plannedDesk.FirstBlurringOwnKey()});
  g_daysCut += cut != NEVER;
  return Difference(steady, planned, day, cut);
}

// Drops events one by one while the disagreement stays.
std::vector<Event> Shortest(std::vector<Event> day) {
  for (size_t before = 0; before != day.size();) {
    before = day.size();
    for (size_t i = day.size(); i-- > 0;) {
      std::vector<Event> fewer = day;
      fewer.erase(fewer.begin() + i);
      if (!Disagreement(fewer).empty()) day = fewer;
    }
  }
  return day;
}

TEST(DifferentialRun, LookingAtDeadlinesDecidesAsLookingFourTimesASecond) {
  const uint32_t DAYS = 2000;
  for (uint32_t seed = 1; seed <= DAYS; ++seed) {
    std::vector<Event> day = DayOf(seed);
    std::string difference = Disagreement(day);
    if (difference.empty()) continue;
    std::ostringstream shortest;
    for (const Event& event : Shortest(day))
      shortest << "\n  " << event.at << ' ' << KIND_NAMES[event.kind] << ' ' << event.value;
    ADD_FAILURE() << "seed " << seed << "\nshortest day:" << shortest.str() << "\n" << Disagreement(Shortest(day));
    return;
  }
  printf("%u days, %d of them compared up to a tie (something within a look of a commit or a lock)\n", DAYS, g_daysCut);
}

}  // namespace
