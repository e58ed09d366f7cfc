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

// "Lulx_Name" as the modern stand-in prints it reads "Lulx-Name".
std::string AsClassicNames(std::string text) {
#ifdef _WIN64
  for (size_t at = text.find("Lulx_"); at != std::string::npos; at = text.find("Lulx_", at)) text[at + 4] = '-';
#endif
  return text;
}

}  // namespace

HostRun RunHost(const std::vector<std::string>& script, const std::string& options, const std::string& subfolder) {
  char folder[MAX_PATH], file[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  GetTempFileNameA(folder, "lxs", 0, file);
  FILE* f = std::fopen(file, "w");
  for (const std::string& s : script) std::fprintf(f, "%s\n", s.c_str());
  std::fclose(f);

  SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
  HANDLE readEnd, writeEnd;
  CreatePipe(&readEnd, &writeEnd, &sa, 0);
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = writeEnd;
  si.hStdError = writeEnd;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  std::string command = "\"" + HostPath(subfolder) + "\" --timeout 60000 --script \"" + file + "\" " + options;
  PROCESS_INFORMATION pi;
  HostRun run;
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
    ADD_FAILURE() << "cannot start " << command;
    return run;
  }
  CloseHandle(writeEnd);
  std::string output;
  char buffer[4096];
  DWORD got;
  while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got) output.append(buffer, got);
  WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code;
  GetExitCodeProcess(pi.hProcess, &code);
  run.exitCode = static_cast<int>(code);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  CloseHandle(readEnd);
  DeleteFileA(file);
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
