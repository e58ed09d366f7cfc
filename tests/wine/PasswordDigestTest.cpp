// The password digest with Windows' own cryptography: the derivation the lock's
// check uses against known answers, and the two functions that make and set a
// digest, whose refusals leave the password in force as it was.
#include <cstring>
#include <string>

#include "PluginFixture.h"
#include "plugin/Functions.h"
#include "win32/system/SystemCrypto.h"

namespace {

std::string Hex(const uint8_t* bytes, size_t size) {
  std::string hex;
  const char digits[] = "0123456789abcdef";
  for (size_t i = 0; i < size; ++i) hex += {digits[bytes[i] >> 4], digits[bytes[i] & 15]};
  return hex;
}

// RFC 7914, section 11: PBKDF2-HMAC-SHA256, 64 bytes.
TEST(SystemCrypto, Pbkdf2Sha256KnownAnswers) {
  uint8_t key[64];
  ASSERT_TRUE(DerivePbkdf2Sha256("passwd", 6, reinterpret_cast<const uint8_t*>("salt"), 4, 1, key, sizeof key));
  EXPECT_EQ(Hex(key, sizeof key),
            "55ac046e56e3089fec1691c22544b605f94185216dde0465e68b9d57c20dacbc"
            "49ca9cccf179b645991664b39d77ef317c71b845b1e30bd509112041d3a19783");
  ASSERT_TRUE(DerivePbkdf2Sha256("Password", 8, reinterpret_cast<const uint8_t*>("NaCl"), 4, 80000, key, sizeof key));
  EXPECT_EQ(Hex(key, sizeof key),
            "4ddcd8f60b98be21830cee5ef22701f9641a4418d04c0414aeff08876b34ab56"
            "a1d425a1225833549adb841b51c9b3176a272bdebba1d078478f62b397f33c8d");
}

TEST(SystemCrypto, TheLocksCheckTakesADigestMadeElsewhereByItsUtf8) {
  PasswordDigest digest;
  ASSERT_TRUE(ParseDigest("$pbkdf2-sha256$i=100000$AAECAwQFBgcICQoLDA0ODw$W4XNFZZ3COSNHgmJenzOpSR2FWdRZMHQ0M8Rz6vA9NE",
                          digest));
  EXPECT_TRUE(
      PasswordMatchesDigest("\xD0\x9F\xD0\xB0\xD1\x80\xD0\xBE\xD0\xBB\xD1\x8C-\xCE\x94"
                            "7 \xE2\x84\xA2",
                            digest));
  EXPECT_FALSE(
      PasswordMatchesDigest("\xD0\x9F\xD0\xB0\xD1\x80\xD0\xBE\xD0\xBB\xD1\x8C-\xCE\x94"
                            "7 ",
                            digest));
}

using DigestFunctions = PluginTest;

ParameterText Parameter(const std::string& text) { return {text.c_str(), text.size() <= 254, text.empty()}; }

TEST_F(DigestFunctions, TwoDigestsOfOnePasswordDifferAndBothOpenTheLock) {
  Reply first = {}, second = {};
  AnswerPasswordDigest(Guard(), Parameter("correct horse"), first);
  AnswerPasswordDigest(Guard(), Parameter("correct horse"), second);
  ASSERT_TRUE(first.given && second.given);
  EXPECT_EQ(std::string(first.text).substr(0, 24), "$pbkdf2-sha256$i=600000$");
  EXPECT_STRNE(first.text, second.text) << "a new salt each time";
  PasswordDigest digests[2];
  ASSERT_TRUE(ParseDigest(first.text, digests[0])) << first.text;
  ASSERT_TRUE(ParseDigest(second.text, digests[1])) << second.text;
  EXPECT_TRUE(PasswordMatchesDigest("correct horse", digests[0]));
  EXPECT_TRUE(PasswordMatchesDigest("correct horse", digests[1]));
  EXPECT_FALSE(PasswordMatchesDigest("correct hors", digests[0]));
  Reply empty = {};
  AnswerPasswordDigest(Guard(), Parameter(""), empty);
  EXPECT_STREQ(empty.text, REPLY_BAD_LENGTH);
}

TEST_F(DigestFunctions, OneKindInForceAndARefusedDigestChangesNothing) {
  CallFunction(FN_SET_WORKSTATION_PASSWORD, "plain one");
  const std::string digest =
      "$pbkdf2-sha256$i=100000$AAECAwQFBgcICQoLDA0ODw$W4XNFZZ3COSNHgmJenzOpSR2FWdRZMHQ0M8Rz6vA9NE";
  for (const std::string& bad : {std::string(""), digest + "x", digest.substr(0, 30), std::string(255, 'a')}) {
    Reply reply = {};
    SetWorkstationPasswordDigest(Guard(), Parameter(bad), reply);
    EXPECT_STREQ(reply.text, REPLY_BAD_LENGTH) << bad;
    EXPECT_EQ(State().settings.passwordKind, PasswordKind::Plain);
    EXPECT_STREQ(State().settings.password, "plain one");
  }
  Reply reply = {};
  SetWorkstationPasswordDigest(Guard(), Parameter(digest), reply);
  EXPECT_STREQ(reply.text, REPLY_TAKEN);
  EXPECT_EQ(State().settings.passwordKind, PasswordKind::Digest);
  const char* password = State().settings.password;
  EXPECT_EQ(std::count(password, password + PASSWORD_SIZE, '\0'), PASSWORD_SIZE) << "the plain one wiped";
  EXPECT_EQ(State().settings.digest.iterations, 100000u);
  CallFunction(FN_SET_WORKSTATION_PASSWORD, "plain two");
  EXPECT_EQ(State().settings.passwordKind, PasswordKind::Plain);
  EXPECT_EQ(State().settings.digest.iterations, 0u) << "the digest gone";
}

}  // namespace
