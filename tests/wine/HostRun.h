// Runs the host stand-in as a separate process on a script and collects the
// lines it prints, with their times. Built with LULLEX_MODERN_HOST, the tests
// run the plug-in in a stand-in that plays FileMaker 7 or later, whose function
// names take "_" where FileMaker Pro 5 and 6's take "-": its lines read as the
// classic ones do, so that one set of scenarios serves every host.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct Line {
  double seconds;
  std::string text;
};

struct HostRun {
  int exitCode = -1;
  std::vector<Line> lines;

  int Count(const std::string& text) const;
  // Time of the n-th (1-based) line containing text, or -1.
  double At(const std::string& text, int n = 1) const;
  // Index of the n-th (1-based) line containing text, or -1.
  int Index(const std::string& text, int n = 1) const;
  // Whether the n-th line with `first` comes before the m-th with `then`: the
  // order in which this host logged them, which holds where two events share a
  // millisecond. Only for events one process logs; both lines must be there.
  ::testing::AssertionResult Before(const std::string& first, const std::string& then, int n = 1, int m = 1) const;
  // Lines containing text after the first line containing `after` and before
  // the first line containing `before` that follows it.
  int CountBetween(const std::string& text, const std::string& after, const std::string& before) const;
  std::string All() const;
};

// Runs the host beside the test's build (or in its subfolder) with options.
HostRun RunHost(const std::vector<std::string>& script, const std::string& options = "",
                const std::string& subfolder = "");
