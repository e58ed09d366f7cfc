// The PHC form of a password digest: one spelling for each digest, and every
// malformed part refused without touching what was there.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "portable/engine/PasswordDigest.h"
#include "portable/text/Base64.h"

namespace {

// A digest made by another PBKDF2-HMAC-SHA256: salt 00..0F, 100,000 rounds.
const char kMadeElsewhere[] =
    "$pbkdf2-sha256$i=100000$AAECAwQFBgcICQoLDA0ODw$W4XNFZZ3COSNHgmJenzOpSR2FWdRZMHQ0M8Rz6vA9NE";

TEST(Base64, EncodesWithoutPaddingAndDecodesOnlyTheCanonicalSpelling) {
  const uint8_t bytes[] = {'f', 'o', 'o', 'b', 'a', 'r'};
  const char* expected[] = {"", "Zg", "Zm8", "Zm9v", "Zm9vYg", "Zm9vYmE", "Zm9vYmFy"};
  for (size_t n = 0; n <= sizeof bytes; ++n) {
    char text[16];
    EncodeBase64(bytes, n, text);
    EXPECT_STREQ(text, expected[n]);
    uint8_t back[6] = {};
    EXPECT_TRUE(DecodeBase64(text, std::strlen(text), back, n));
    EXPECT_EQ(std::memcmp(back, bytes, n), 0);
  }
  uint8_t out[2];
  EXPECT_FALSE(DecodeBase64("Zh", 2, out, 1)) << "unused bits set";
  EXPECT_FALSE(DecodeBase64("Zg=", 3, out, 1)) << "padding";
  EXPECT_FALSE(DecodeBase64("Z-", 2, out, 1)) << "the URL alphabet";
  EXPECT_FALSE(DecodeBase64("Zm8", 3, out, 1)) << "the wrong length";
}

TEST(PasswordDigest, ReadsAndWritesThePhcForm) {
  PasswordDigest digest;
  ASSERT_TRUE(ParseDigest(kMadeElsewhere, digest));
  EXPECT_EQ(digest.iterations, 100000u);
  for (size_t i = 0; i < DIGEST_SALT_SIZE; ++i) EXPECT_EQ(digest.salt[i], i);
  EXPECT_EQ(digest.hash[0], 0x5B);
  EXPECT_EQ(digest.hash[DIGEST_HASH_SIZE - 1], 0xD1);
  char text[DIGEST_TEXT_SIZE];
  FormatDigest(digest, text);
  EXPECT_STREQ(text, kMadeElsewhere);
  digest.iterations = MOST_DIGEST_ITERATIONS;
  FormatDigest(digest, text);
  EXPECT_EQ(std::strlen(text) + 1, DIGEST_TEXT_SIZE) << "the longest fits exactly";
  PasswordDigest again;
  ASSERT_TRUE(ParseDigest(text, again));
  EXPECT_EQ(again.iterations, MOST_DIGEST_ITERATIONS);
}

TEST(PasswordDigest, RefusesEveryMalformedPartAndKeepsWhatWasThere) {
  const std::string good = kMadeElsewhere;
  auto with = [&good](const std::string& from, const std::string& to) {
    std::string text = good;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  const std::string bad[] = {
      "",
      "$pbkdf2-sha512$i=100000$AAECAwQFBgcICQoLDA0ODw$W4XNFZZ3COSNHgmJenzOpSR2FWdRZMHQ0M8Rz6vA9NE",
      "pbkdf2-sha256$i=100000$AAECAwQFBgcICQoLDA0ODw$W4XNFZZ3COSNHgmJenzOpSR2FWdRZMHQ0M8Rz6vA9NE",
      with("i=100000", "i=99999"),
      with("i=100000", "i=10000001"),
      with("i=100000", "i=0100000"),
      with("i=100000", "i=+100000"),
      with("i=100000", "i="),
      with("i=100000", "r=100000"),
      with("i=100000", "i=100000,p=1"),
      with("AAECAwQFBgcICQoLDA0ODw", "AAECAwQFBgcICQoLDA0ODw=="),
      with("AAECAwQFBgcICQoLDA0ODw", "AAECAwQFBgcICQoLDA0OD"),
      with("AAECAwQFBgcICQoLDA0ODw", "AAECAwQFBgcICQoLDA0ODx"),
      with("AAECAwQFBgcICQoLDA0ODw", "AAECAwQFBgcICQoLDA0O!w"),
      good.substr(0, good.size() - 1),
      good + "A",
      good + "$",
      good + " ",
      good + "$extra",
      with("$W4X", "$$W4X"),
  };
  PasswordDigest digest;
  std::memset(&digest, 0x5A, sizeof digest);
  for (const std::string& text : bad) {
    EXPECT_FALSE(ParseDigest(text.c_str(), digest)) << text;
    EXPECT_EQ(digest.iterations, 0x5A5A5A5Au) << text;
  }
}

TEST(PasswordDigest, HashesCompareWhole) {
  uint8_t a[DIGEST_HASH_SIZE] = {}, b[DIGEST_HASH_SIZE] = {};
  EXPECT_TRUE(SameHash(a, b));
  for (size_t i : {size_t(0), DIGEST_HASH_SIZE - 1}) {
    b[i] = 1;
    EXPECT_FALSE(SameHash(a, b)) << i;
    b[i] = 0;
  }
}

}  // namespace
