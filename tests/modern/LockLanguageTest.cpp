// The lock in the Windows user's language with the solution's own line, read
// back from the windows. CTest runs it once more in German and once more in
// Japanese (Wine takes the interface language from LC_ALL), in both modern
// hosts, and tells it which language to expect.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "HostRun.h"

namespace {

struct Expected {
  const char* title;
  const char* prompt;
  const char* passwordLabel;
  const char* nameLabel;
  const char* workstation;
  const char* refusal;
  const char* refusalTitle;
  const char* countdown2;  // the login's wait, two seconds left
  const char* warning2;    // the notice, two seconds left
  const char* hint;
};

const Expected ENGLISH = {"Please Login",
                          "Enter your password to enable this station.",
                          "Password:",
                          "Name",
                          "Workstation",
                          "Access Denied",
                          "Incorrect password",
                          "Try again in 2 s.",
                          "This workstation locks in 2 s.",
                          "Move or scroll the mouse, or press a key, to stay."};
const Expected GERMAN = {
    "Bitte anmelden",
    "Geben Sie Ihr Kennwort ein, um diese Arbeitsstation freizugeben.",
    "Kennwort:",
    "Name",
    "Arbeitsstation",
    "Zugriff verweigert",
    "Falsches Kennwort",
    "Nächster Versuch in 2 s.",
    "Diese Arbeitsstation wird in 2 s gesperrt.",
    "Bewegen Sie die Maus, drehen Sie das Mausrad oder drücken Sie eine Taste, um weiterzuarbeiten."};
const Expected JAPANESE = {"ログイン",
                           "このワークステーションを使用するには、パスワードを入力してください。",
                           "パスワード:",
                           "名前",
                           "ワークステーション",
                           "アクセスが拒否されました",
                           "パスワードが正しくありません",
                           "2 秒後にもう一度お試しください。",
                           "このワークステーションは 2 秒後にロックされます。",
                           "作業を続けるには、マウスを動かすか、ホイールを回すか、キーを押してください。"};

// The language CTest asks for ("de", "ja", or English), and its primary language
// id, which Windows must report to this process as to the host's.
const Expected& ExpectedHere(LANGID& primary) {
  const char* asked = std::getenv("LULLEX_EXPECTED_LANGUAGE");
  std::string language = asked ? asked : "en";
  primary = language == "de" ? LANG_GERMAN : language == "ja" ? LANG_JAPANESE : LANG_ENGLISH;
  return language == "de" ? GERMAN : language == "ja" ? JAPANESE : ENGLISH;
}

size_t Characters(const std::string& utf8) {
  size_t count = 0;
  for (unsigned char c : utf8) count += (c & 0xC0) != 0x80;
  return count;
}

std::string Quoted(int id, const std::string& text) { return std::to_string(id) + " \"" + text + "\""; }

TEST(ModernHostScenario, TheLockSpeaksTheUsersLanguageAndCarriesTheSolutionsLine) {
  LANGID primary = 0;
  const Expected& e = ExpectedHere(primary);
  ASSERT_EQ(PRIMARYLANGID(GetUserDefaultUILanguage()), primary) << "Windows reports the language asked for";
  // 254 characters: a break, an "&" that is no prefix, CJK, and emoji (two
  // UTF-16 units each) to the end.
  std::string line = "Front desk 2.\rForgot the password? Call R&D on 2231. 受付2番。内線2231へ。";
  while (Characters(line) < 254) line += "\xF0\x9F\x98\x80";
  ASSERT_EQ(Characters(line), 254u);
  std::string scripted = line;
  scripted.replace(scripted.find('\r'), 1, "\\x0D");
  std::string shown = line;
  shown.replace(shown.find('\r'), 1, "\\r\\n");

  const std::string up = "waitfor 8000 window \"Please Login\" appeared",
                    gone = "waitfor 8000 window \"Please Login\" gone";
  std::vector<std::string> script = {
      "init",
      "call Lulx-SetWorkstationPassword desk pass",
      "call Lulx-SetLockMessage " + scripted,
      "call Lulx-SetLockMessage " + scripted + "x",  // 255: refused, the line kept
      "call Lulx-Status",
      "call Lulx-PasswordDigest ann pass",
      "call Lulx-SetUnlockUser Ann;{reply}",
      "call Lulx-SetLockWarning 2",
      "call Lulx-ActivateFileMakerLullex 3",
      std::string("waitfor 8000 lock warning \"") + e.warning2,
      "lockwindows",
      up,
      "lockwindows",
  };
  for (int i = 0; i < 4; ++i) {  // the fourth wrong password makes the next try wait
    script.insert(script.end(), {"type nope", "key ENTER", "waitfor 8000 window \"Incorrect password\" appeared"});
    if (i == 0 || i == 3) script.push_back("lockwindows");  // the last with the wait in the prompt's place
    script.insert(script.end(), {"key ENTER", "waitfor 5000 window \"Incorrect password\" gone"});
  }
  // The workstation's entry, chosen by its name in this language, and its password.
  const std::vector<std::string> unlock = {std::string("choose ") + e.workstation, "type desk pass", "key ENTER", gone};
  script.push_back(std::string("waitfor 8000 login prompt \"") + e.prompt + "\", field enabled");
  script.insert(script.end(), unlock.begin(), unlock.end());
  script.insert(script.end(), {"call Lulx-ActivateFileMakerLullex 0", "call Lulx-SetLockMessage",  // empty: no line
                               "call Lulx-LockNow", up, "lockwindows"});
  script.insert(script.end(), unlock.begin(), unlock.end());
  script.insert(script.end(), {"call Lulx-SetLockMessage Call 2231.", "init",  // and none after an init
                               "call Lulx-LockNow", up, "lockwindows"});
  script.insert(script.end(), unlock.begin(), unlock.end());
  script.push_back("quit");
  HostRun run = RunHost(script);
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_EQ(run.Count("call Lulx-SetLockMessage(\""), 4) << run.All();
  EXPECT_EQ(run.Count("-> reply \"$$001$$\""), 1) << "only the 255 characters" << run.All();
  EXPECT_EQ(run.Count("Front desk"), 5) << "two calls, three logins; not the status" << run.All();

  const std::string notice =
      "lock texts of notice: title \"\" | " + Quoted(1132, e.warning2) + " | " + Quoted(1133, e.hint);
  EXPECT_EQ(run.Count(notice), 1) << run.All();
  const std::string login = "lock texts of login: title \"" + std::string(e.title) + "\"";
  ASSERT_EQ(run.Count(login), 5) << run.All();
  const std::string& first = run.lines[run.Index(login)].text;
  const std::string texts[] = {Quoted(602, e.prompt), Quoted(101, e.passwordLabel), Quoted(1135, e.nameLabel),
                               Quoted(1126, "OK"), Quoted(1136, shown)};
  for (const std::string& text : texts) EXPECT_NE(first.find(text), std::string::npos) << text << "\n" << first;
  EXPECT_EQ(run.Count("login prompt \"" + std::string(e.countdown2) + "\", field disabled"), 1) << run.All();
  EXPECT_EQ(run.Count(Quoted(1136, shown)), 3) << "the line whole, until it is removed" << run.All();
  EXPECT_EQ(run.Count("lock texts of refusal: title \"" + std::string(e.refusalTitle) + "\""), 2) << run.All();
  EXPECT_EQ(run.Count("window \"Incorrect password\" appeared: \"" + std::string(e.refusal) + "\""), 4) << run.All();
  EXPECT_EQ(run.Count("lock layout of "), 8) << run.All();
  EXPECT_EQ(run.Count("every text fits, nothing overlaps"), 8) << run.All();
  EXPECT_EQ(run.Count("user chooses \"" + std::string(e.workstation) + "\" in the login's list [Ann | "), 3)
      << run.All();
  EXPECT_EQ(run.Count("window \"Please Login\" gone"), 3) << run.All();
}

}  // namespace
