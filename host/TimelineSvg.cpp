#include "TimelineSvg.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "Timeline.h"

namespace {

const double WIDTH = 860, HEIGHT = 280, LEFT = 50, RIGHT = 20, TOP = 40, BOTTOM = 70;

struct Marker {
  const char* match;  // the start of the event lines it marks
  const char* label;
  const char* color;
};

const Marker MARKERS[] = {
    {"record committed", "commit", "#2e7d32"},
    {"lock warning \"", "warning", "#f9a825"},
    {"window \"Please Login\" appeared", "lock", "#c62828"},
    {"window \"Incorrect password\" appeared", "wrong password", "#ef6c00"},
    {"window \"Please Login\" gone", "unlock", "#1565c0"},
};

const size_t WARNING = 1;  // MARKERS[WARNING] is the lock warning

bool StartsWith(const std::string& text, const char* start) {
  return text.compare(0, std::string(start).size(), start) == 0;
}

// The user's own input, and the unlock (a password typed), end an idle spell.
bool IsActivity(const std::string& text) {
  return StartsWith(text, "user ") || StartsWith(text, "window \"Please Login\" gone");
}

}  // namespace

bool SaveTimelineSvg(const std::string& path) {
  const std::vector<TimelineEvent>& events = TimelineEvents();
  if (events.empty()) return false;
  double end = events.back().seconds + 0.5;
  // The idle curve, as points (seconds, idle seconds).
  std::vector<std::pair<double, double>> idle = {{0, 0}};
  double since = 0, highest = 1;
  for (const TimelineEvent& e : events) {
    if (!IsActivity(e.text)) continue;
    idle.push_back({e.seconds, e.seconds - since});
    idle.push_back({e.seconds, 0});
    highest = std::max(highest, e.seconds - since);
    since = e.seconds;
  }
  idle.push_back({end, end - since});
  highest = std::max(highest, end - since) + 0.5;
  auto x = [&](double s) { return LEFT + s / end * (WIDTH - LEFT - RIGHT); };
  auto y = [&](double idleSeconds) { return HEIGHT - BOTTOM - idleSeconds / highest * (HEIGHT - TOP - BOTTOM); };

  FILE* f = std::fopen(path.c_str(), "w");
  if (!f) return false;
  std::fprintf(f,
               "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.0f\" height=\"%.0f\" viewBox=\"0 0 %.0f %.0f\" "
               "font-family=\"Tahoma, Verdana, sans-serif\" font-size=\"12\">\n",
               WIDTH, HEIGHT, WIDTH, HEIGHT);
  std::fprintf(f, "<rect width=\"100%%\" height=\"100%%\" fill=\"white\"/>\n");
  std::fprintf(f,
               "<text x=\"%.0f\" y=\"22\" font-size=\"14\" font-weight=\"bold\">Idle time and what Lullex did</text>\n",
               LEFT);
  // Axes, a tick each second.
  std::fprintf(f, "<g stroke=\"#555\"><line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\"/>", x(0), y(0), x(end),
               y(0));
  std::fprintf(f, "<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\"/></g>\n", x(0), y(0), x(0), y(highest));
  for (int s = 0; s <= static_cast<int>(end); ++s)
    std::fprintf(f,
                 "<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"#555\"/>"
                 "<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"middle\" fill=\"#555\">%d</text>\n",
                 x(s), y(0), x(s), y(0) + 4, x(s), y(0) + 17, s);
  std::fprintf(f, "<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"end\" fill=\"#555\">seconds</text>\n", x(end), y(0) + 32);
  std::fprintf(f, "<text x=\"12\" y=\"%.1f\" fill=\"#555\" transform=\"rotate(-90 12 %.1f)\">idle (s)</text>\n",
               y(highest / 2) + 20, y(highest / 2) + 20);
  // The idle curve.
  std::fprintf(f, "<polyline fill=\"none\" stroke=\"#37474f\" stroke-width=\"2\" points=\"");
  for (const auto& p : idle) std::fprintf(f, "%.1f,%.1f ", x(p.first), y(p.second));
  std::fprintf(f, "\"/>\n");
  // What happened, each kind once per moment, labels staggered so they do not overlap.
  int row = 0;
  double last[sizeof MARKERS / sizeof MARKERS[0]];
  for (double& l : last) l = -10;
  bool warningShown = false;
  for (const TimelineEvent& e : events) {
    if (StartsWith(e.text, "lock warning gone")) warningShown = false;
    for (size_t k = 0; k < sizeof MARKERS / sizeof MARKERS[0]; ++k) {
      const Marker& m = MARKERS[k];
      if (!StartsWith(e.text, m.match) || e.seconds - last[k] < 0.6) continue;
      if (k == WARNING && warningShown) continue;  // once while it counts down
      if (k == WARNING) warningShown = true;
      last[k] = e.seconds;
      double labelY = TOP + 14 + 14 * (row++ % 4);
      std::fprintf(f,
                   "<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"%s\" stroke-dasharray=\"4 3\"/>"
                   "<text x=\"%.1f\" y=\"%.1f\" fill=\"%s\">%s</text>\n",
                   x(e.seconds), labelY + 3, x(e.seconds), y(0), m.color, x(e.seconds) + 3, labelY, m.color, m.label);
    }
  }
  std::fprintf(f, "</svg>\n");
  return std::fclose(f) == 0;
}
