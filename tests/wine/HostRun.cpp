#include "HostRun.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int HostRun::Count(const std::string& text) const {
  int n = 0;
  for (const Line& l : lines) n += l.text.find(text) != std::string::npos;
  return n;
}
double HostRun::At(const std::string& text, int n) const {
  for (const Line& l : lines)
    if (l.text.find(text) != std::string::npos && --n == 0) return l.seconds;
  return -1;
}
int HostRun::Index(const std::string& text, int n) const {
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i].text.find(text) != std::string::npos && --n == 0) return static_cast<int>(i);
  return -1;
}
::testing::AssertionResult HostRun::Before(const std::string& first, const std::string& then, int n, int m) const {
  int a = Index(first, n), b = Index(then, m);
  if (a >= 0 && b >= 0 && a < b) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "\"" << first << "\" #" << n << " (line " << a << ") is not before \"" << then
                                       << "\" #" << m << " (line " << b << ")\n"
                                       << All();
}
int HostRun::CountBetween(const std::string& text, const std::string& after, const std::string& before) const {
  int n = 0;
  bool inside = false;
  for (const Line& l : lines) {
    if (!inside) {
      inside = l.text.find(after) != std::string::npos;
      continue;
    }
    if (l.text.find(before) != std::string::npos) break;
    n += l.text.find(text) != std::string::npos;
  }
  return n;
}
std::string HostRun::All() const {
  std::string out;
  for (const Line& l : lines) out += "  " + l.text + "\n";
  return out;
}

namespace {

std::string HostPath(const std::string& subfolder) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p(path);
  for (int i = 0; i < 3; ++i) p = p.substr(0, p.find_last_of("\\/"));
  return p + "\\host\\" + (subfolder.empty() ? "" : subfolder + "\\") + "LullexHost.exe";
}

// The options every start of the host takes first: a 32-bit build's modern
// scenarios play the 32-bit FileMaker 18 (the script's own options come later
// and win).
#ifndef LULLEX_HOST_OPTIONS
#define LULLEX_HOST_OPTIONS ""
#endif

// "Lulx_Name" as the modern stand-in prints it reads "Lulx-Name".
std::string AsClassicNames(std::string text) {
#ifdef LULLEX_MODERN_HOST
  for (size_t at = text.find("Lulx_"); at != std::string::npos; at = text.find("Lulx_", at)) text[at + 4] = '-';
#endif
  return text;
}

// One start of the host: its exit code and all it printed, or false with why
// it never ran.
bool Launch(std::string command, DWORD& exitCode, std::string& output, std::string& why) {
  SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
  HANDLE readEnd, writeEnd;
  if (!CreatePipe(&readEnd, &writeEnd, &sa, 0)) {
    why = "no pipe: error " + std::to_string(GetLastError());
    return false;
  }
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = writeEnd;
  si.hStdError = writeEnd;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION pi;
  bool started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
  DWORD error = GetLastError();
  CloseHandle(writeEnd);
  if (!started) {
    CloseHandle(readEnd);
    why = "CreateProcess failed: error " + std::to_string(error);
    return false;
  }
  output.clear();
  char buffer[4096];
  DWORD got;
  while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got) output.append(buffer, got);
  WaitForSingleObject(pi.hProcess, INFINITE);
  GetExitCodeProcess(pi.hProcess, &exitCode);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  CloseHandle(readEnd);
  // The host prints its first line before anything else: silence and a failure
  // mean the process never got as far as the host's own code.
  if (output.empty() && exitCode != 0) {
    why = "ended at once, printing nothing, exit code " + std::to_string(exitCode);
    return false;
  }
  return true;
}

}  // namespace

HostRun RunHost(const std::vector<std::string>& script, const std::string& options, const std::string& subfolder) {
  char folder[MAX_PATH], file[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  GetTempFileNameA(folder, "lxs", 0, file);
  FILE* f = std::fopen(file, "w");
  for (const std::string& s : script) std::fprintf(f, "%s\n", s.c_str());
  std::fclose(f);

  std::string command =
      "\"" + HostPath(subfolder) + "\" --timeout 60000 --script \"" + file + "\" " LULLEX_HOST_OPTIONS " " + options;
  HostRun run;
  std::string output, why;
  DWORD code = 0;
  // Wine now and then fails to start a process while the one before is still
  // going away: say why each time, and start it again.
  const int ATTEMPTS = 4;
  bool ran = false;
  for (int attempt = 1; attempt <= ATTEMPTS && !ran; ++attempt) {
    ran = Launch(command, code, output, why);
    if (ran) break;
    std::fprintf(stderr, "host start %d of %d: %s: %s\n", attempt, ATTEMPTS, command.c_str(), why.c_str());
    Sleep(500 * attempt);
  }
  DeleteFileA(file);
  if (!ran) {
    ADD_FAILURE() << "cannot start " << command << ": " << why << " (" << ATTEMPTS << " attempts)";
    return run;
  }
  run.exitCode = static_cast<int>(code);
  size_t start = 0;
  while (start < output.size()) {
    size_t end = output.find('\n', start);
    if (end == std::string::npos) end = output.size();
    std::string text = AsClassicNames(output.substr(start, end - start));
    if (!text.empty() && text.back() == '\r') text.pop_back();
    Line line = {0, text};
    if (text.size() > 11 && text[0] == '[') {
      line.seconds = std::atof(text.c_str() + 1);
      line.text = text.substr(11);
    }
    run.lines.push_back(line);
    start = end + 1;
  }
  return run;
}
