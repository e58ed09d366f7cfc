// The same engine looking only at its deadlines against looking four times a
// second, over seeded days at the desk: commits, locks, the warning and the
// status line must agree within a look, up to the first moment where
// something happened within a look of a commit or a lock (which came first,
// a look four times a second may or may not tell). A disagreement prints its
// seed and the shortest day that still shows it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>
#include <sstream>
#include <vector>

#include "portable/engine/IdleEngine.h"
#include "portable/engine/PersonsInput.h"
#include "portable/engine/TickPlan.h"

namespace {

// What a day holds, one letter each: typing in FileMaker (k) or elsewhere (e),
// a move (m), the wheel (w), leaving FileMaker (<) and coming back (>), or it
// coming back by itself (~, no input), FileMaker busy (z), the record limit
// (R), the FileMaker limit (F), the warning (W), the password typed at the
// lock (u), the status asked (s), the switches to commit on leaving (l) and to
// count in the background (g).
const char KINDS[] = "kemw<>~zRFWusgl";
const char INPUT[] = "kemw<>u";  // the person's hand: Windows dates it

struct Event {
  uint32_t at;
  char kind;
  int32_t value;  // a limit, a switch, or how long FileMaker is busy
};

// r the record limit's commit, l the commit on leaving, b the lock's, L the
// lock, w the warning's seconds, s the status line's idle seconds.
struct Outcome {
  char what;
  uint32_t at;
  int32_t value;
};

const uint32_t START = 1000, DAY_MS = 90000, NEVER = UINT32_MAX;

// One engine through one day, looking every 250 ms (steady) or where its plan
// says; what Windows tells FileMaker's thread it hears once it is not busy.
class Desk {
 public:
  Desk(const std::vector<Event>& day, bool steady) : day_(day), steady_(steady) { state_ = GuardState(); }

  std::vector<Outcome> Run() {
    size_t e = 0;
    for (uint32_t now = START; now < START + DAY_MS; ++now) {
      for (; e < day_.size() && day_[e].at == now; ++e) Happen(day_[e]);
      if (now < busyUntil_) continue;
      if (activationHeard_) Activated(now);
      activationHeard_ = false;
      if (now >= nextRecord_) nextRecord_ = now + RecordLook(now);
      if (now >= nextFileMaker_) nextFileMaker_ = now + FileMakerLook(now);
    }
    return out_;
  }

 private:
  // What the person did by now, Lullex's own keys among Windows' dates; and
  // what the watching thread saw since `since`, had it watched all along.
  TickObservation Seen(uint32_t now, uint32_t since = 0) const {
    TickObservation seen = {};
    uint32_t windowsDate = START, threadInput = START;
    seen.watched = {true, false, now - since, 0, since};
    WatchedQuiet& quiet = seen.watched;
    for (const Event& event : day_) {
      if (event.at > now) break;
      seen.cursor.x += event.kind == 'm';
      seen.wheelTurns += event.kind == 'w';
      if (event.kind == 'w') threadInput = event.at;
      if (!std::strchr(INPUT, event.kind)) continue;
      windowsDate = event.at;
      if (event.at <= since) continue;
      if (!quiet.activitySince) quiet.firstQuietMs = event.at - since;
      if (quiet.activitySince) quiet.longestLaterMs = std::max(quiet.longestLaterMs, event.at - quiet.lastActivity);
      quiet.activitySince = true, quiet.lastActivity = event.at;
    }
    if (quiet.activitySince) quiet.longestLaterMs = std::max(quiet.longestLaterMs, now - quiet.lastActivity);
    for (uint32_t at : hostKeys_) {
      if (at > now) break;
      threadInput = std::max(threadInput, at);
      if (seen.hostKeyPresses++ == state_.hostPressesTakenIn) seen.firstNewHostKeyAt = at;
      ++seen.keyPresses;
    }
    if (!ownKeys_.empty()) windowsDate = std::max(windowsDate, ownKeys_.back());
    seen.cursorRead = seen.inputDatedByWindows = true;
    seen.hostActive = seen.hostInFront = inFront_;
    seen.otherAppInFront = !inFront_;
    seen.now = now;
    seen.activityAt = PersonsLastInputFrom(own_, windowsDate, true, threadInput);
    return seen;
  }

  TickObservation Look(uint32_t now, const IdleCounter& counter) const {
    TickObservation seen = Seen(now, counter.countedUpTo);
    DateLastInput(seen, counter, seen.activityAt);
    return seen;
  }

  // Made at once; its keys are Lullex's own.
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
    if (RecordTick(state_, seen).exitRecordAttempts > 0) Commit('r', now);
    bool pending = state_.settings.commitOnLeaving && !state_.recordCommitted && !inFront_;
    uint32_t ms = steady_ ? TICK_MS : MsToRecordTick(state_, now, pending);
    return ms == NO_TICK_DUE ? DAY_MS : ms;
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

  void Activated(uint32_t now) {
    if (inFront_) CountFromComingBack(state_, Look(now, state_.fileMakerIdle));
    if (!steady_) LookWithin(ACTIVATION_LOOK_MS, now, nextRecord_), LookWithin(ACTIVATION_LOOK_MS, now, nextFileMaker_);
  }

  // The plan looks again when something changes a deadline.
  void LookWithin(uint32_t ms, uint32_t now, uint32_t& next) const {
    if (!steady_) next = std::min(next, now + ms);
  }

  void Happen(const Event& event) {
    Settings& s = state_.settings;
    uint32_t now = event.at;
    if (std::strchr("<>~", event.kind)) {
      inFront_ = event.kind != '<';
      activationHeard_ = true;
    } else if (event.kind == 'k' && inFront_ && !state_.lockIsUp) {  // else into the other program, or the login
      hostKeys_.push_back(now);
    } else if (event.kind == 'z') {
      busyUntil_ = std::max(busyUntil_, now + event.value);
    } else if (event.kind == 's' && now >= busyUntil_) {
      IdleFigures idle = IdleFiguresAt(state_, Seen(now));
      out_.push_back({'s', now, idle.recordSeconds}), out_.push_back({'s', now, idle.fileMakerSeconds});
    } else if (event.kind == 'R') {
      s.recordLimitSeconds = event.value;
      StartCount(state_.recordIdle, now);
    } else if (event.kind == 'F') {
      s.fileMakerLimitSeconds = event.value;
      StartCount(state_.fileMakerIdle, now);
    } else if (event.kind == 'W') {
      s.lockWarningSeconds = event.value;
    } else if (event.kind == 'l') {
      s.commitOnLeaving = event.value % 2;
    } else if (event.kind == 'g') {
      s.countInBackground = event.value % 2;
      if (s.countInBackground && state_.fileMakerCountHeld) StartCount(state_.fileMakerIdle, now);
      state_.fileMakerCountHeld &= !s.countInBackground;
    } else if (event.kind == 'u' && state_.lockIsUp) {
      state_.lockIsUp = false;
      StartCount(state_.recordIdle, now);
      StartCount(state_.fileMakerIdle, now);
    }
    if (std::strchr("RFWlgu", event.kind)) LookWithin(0, now, nextRecord_), LookWithin(0, now, nextFileMaker_);
  }

  const std::vector<Event>& day_;
  bool steady_;
  GuardState state_;
  OwnInputNote own_ = {};
  std::vector<uint32_t> ownKeys_, hostKeys_;
  bool inFront_ = true, activationHeard_ = false;
  uint32_t busyUntil_ = 0, nextRecord_ = START, nextFileMaker_ = START + TICK_MS / 2;
  int32_t warningShown_ = 0;
  std::vector<Outcome> out_;
};

std::vector<Event> DayOf(uint32_t seed) {
  std::mt19937 random(seed);
  auto pick = [&](int n) { return static_cast<int32_t>(random() % n); };
  std::vector<Event> day = {{START, 'R', 2 + pick(8)}, {START, 'F', 3 + pick(12)}, {START, 'W', pick(2) * pick(6)}};
  for (uint32_t at = START; (at += 50 + pick(6000)) < START + DAY_MS - 20000;) {
    char kind = KINDS[pick(sizeof KINDS - 1)];
    day.push_back({at, kind, kind == 'z' ? 300 + pick(15000) : kind == 'W' ? pick(6) : 1 + pick(12)});
    // The person's input comes in bursts.
    for (int burst = std::strchr("kemw", kind) ? pick(8) : 0; burst > 0; --burst)
      day.push_back({at += 60 + pick(400), kind, 0});
  }
  std::stable_sort(day.begin(), day.end(), [](const Event& a, const Event& b) { return a.at < b.at; });
  return day;
}

// The first outcome of those kinds that anything happened within a look of,
// or that FileMaker was busy at the time of.
uint32_t FirstTie(const std::vector<Event>& day, const std::vector<Outcome>& outcomes, const char* kinds) {
  uint32_t tie = NEVER;
  for (const Outcome& o : outcomes)
    for (const Event& e : day)
      if (std::strchr(kinds, o.what) && e.at <= o.at + TICK_MS && o.at <= e.at + TICK_MS + (e.kind == 'z') * e.value)
        tie = std::min(tie, o.at);
  return tie;
}

// Each kind of outcome in order; a warning's seconds that stood for a look or
// less a look may or may not see.
std::vector<Outcome> OfKind(const std::vector<Outcome>& all, const char* kinds) {
  std::vector<Outcome> some;
  for (const Outcome& o : all) {
    if (!std::strchr(kinds, o.what)) continue;
    if (o.what == 'w' && !some.empty() && o.at - some.back().at <= TICK_MS) some.pop_back();
    if (o.what != 'w' || some.empty() || o.value != some.back().value) some.push_back(o);
  }
  return some;
}

std::string Listed(const std::vector<Outcome>& outcomes) {
  std::ostringstream text;
  for (const Outcome& o : outcomes) text << ' ' << o.what << o.value << '@' << o.at;
  return text.str();
}

// Empty when both agree up to the first tie: each outcome within a look of
// its match, the status within a second. The record limit's commit and the
// lock's, falling due within a look of each other, are one.
std::string Disagreement(const std::vector<Event>& day) {
  std::vector<Outcome> steady = Desk(day, true).Run(), planned = Desk(day, false).Run();
  // The commits and locks part from their tie on, and the status with them;
  // the notice from its own.
  uint32_t tie = std::min(FirstTie(day, steady, "rlbL"), FirstTie(day, planned, "rlbL"));
  uint32_t noticeTie = std::min({tie, FirstTie(day, steady, "w"), FirstTie(day, planned, "w")});
  for (const char* kinds : {"rlb", "L", "s", "w"}) {
    std::vector<Outcome> a = OfKind(steady, kinds), b = OfKind(planned, kinds);
    if (*kinds == 'w') tie = noticeTie;
    auto beforeTie = [tie](const std::vector<Outcome>& list, size_t i) {
      return i < list.size() && list[i].at + TICK_MS < tie;
    };
    bool same = true;
    for (size_t i = 0; same && (beforeTie(a, i) || beforeTie(b, i)); ++i) {
      int32_t apart = i < a.size() && i < b.size() ? static_cast<int32_t>(a[i].at - b[i].at) : INT32_MAX;
      int32_t slack = *kinds == 's' ? 1 : 0;
      bool reason = apart != INT32_MAX &&
                    (a[i].what == b[i].what || (std::strchr("rb", a[i].what) && std::strchr("rb", b[i].what)));
      same = reason && std::abs(apart) <= int32_t(TICK_MS) && std::abs(a[i].value - b[i].value) <= slack;
    }
    if (!same) return std::string("every 250 ms:") + Listed(a) + "\nat deadlines:" + Listed(b);
  }
  return "";
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
  for (uint32_t seed = 1; seed <= 2000; ++seed) {
    std::vector<Event> day = DayOf(seed);
    if (Disagreement(day).empty()) continue;
    std::ostringstream shortest;
    for (const Event& event : Shortest(day)) shortest << "\n  " << event.at << ' ' << event.kind << ' ' << event.value;
    ADD_FAILURE() << "seed " << seed << "\nshortest day:" << shortest.str() << "\n" << Disagreement(Shortest(day));
    return;
  }
}

}  // namespace
