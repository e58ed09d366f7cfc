// The people of a shared desk: which names are taken, one person per name
// whatever its case, the order kept, a full list, and whom the login preselects.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>

#include "portable/engine/UnlockUsers.h"

namespace {

// Windows compares without regard to case in every script; ASCII is enough here.
bool SameAscii(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b)
    if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b))) return false;
  return *a == *b;
}

PasswordDigest DigestNumbered(uint8_t n) {
  PasswordDigest d = {};
  d.iterations = 100000;
  d.hash[0] = n;
  return d;
}

std::string Names(const UnlockUsers& users) {
  std::string names;
  for (int i = 0; i < users.count; ++i) names += std::string(i ? "," : "") + users.users[i].name;
  return names;
}

TEST(UnlockUsers, NamesOfOneToSixtyFourCharactersWithoutControlsOrOuterSpaces) {
  for (const std::string& refused :
       {std::string(""), std::string(65, 'a'), std::string("a\tb"), std::string("a\nb"), std::string("a\rb"),
        std::string(" Ann"), std::string("Ann "), std::string(" "), std::string("a\x7F"), std::string("a\xC2\x85")})
    EXPECT_FALSE(UserNameIsValid(refused.c_str())) << refused;
  std::string cjk, accented;
  for (int i = 0; i < 64; ++i) cjk += "\xE5\x90\x8D", accented += "\xC3\xA9";
  for (const std::string& taken : {std::string("A"), std::string(64, 'a'), cjk, accented, std::string("Ann Lee")})
    EXPECT_TRUE(UserNameIsValid(taken.c_str())) << taken;
  EXPECT_FALSE(UserNameIsValid((cjk + "x").c_str())) << "65 characters, whatever their bytes";
}

// What shows nothing, or turns the text around, would make one name pass for another.
TEST(UnlockUsers, NamesRefuseWhatShowsNothingAnywhereAndSpacesOfAnyKindAtEitherEnd) {
  for (const char* invisible : {"\xE2\x80\x8B", "\xE2\x80\x8D", "\xE2\x80\x8F", "\xE2\x80\xAE", "\xE2\x81\xA6",
                                "\xEF\xBB\xBF", "\xC2\xAD", "\xF3\xA0\x80\x81", "\xF0\x9D\x85\xB3",
                                // Hangul fillers, a variation selector, the combining grapheme joiner
                                "\xE3\x85\xA4", "\xE1\x85\x9F", "\xEF\xBE\xA0", "\xEF\xB8\x8F", "\xCD\x8F"})
    for (const std::string& name :
         {"Ann" + std::string(invisible), std::string(invisible) + "Ann", "An" + std::string(invisible) + "n"})
      EXPECT_FALSE(UserNameIsValid(name.c_str())) << name;
  // No-break, ideographic (a Japanese input method's), em, ogham spaces, a line separator.
  for (const char* space :
       {"\xC2\xA0", "\xE2\x80\xAF", "\xE2\x80\x87", "\xE3\x80\x80", "\xE2\x80\x83", "\xE1\x9A\x80", "\xE2\x80\xA8"}) {
    EXPECT_FALSE(UserNameIsValid((std::string(space) + "Ann").c_str())) << space;
    EXPECT_FALSE(UserNameIsValid(("Ann" + std::string(space)).c_str())) << space;
    EXPECT_TRUE(UserNameIsValid(("Ann" + std::string(space) + "Lee").c_str())) << "between words: " << space;
  }
  // Neighbours of the format characters that show: a hyphen, a right-to-left
  // letter, an ideographic space between words.
  for (const char* shown : {"Ann-Lee",
                            "\xE2\x80\x90"
                            "Ann",
                            "\xD7\x90\xD7\x91",
                            "Ann\xE3\x80\x80"
                            "Lee"})
    EXPECT_TRUE(UserNameIsValid(shown)) << shown;
}

TEST(UnlockUsers, OnePersonPerNameInTheirPlaceAndARefusalChangesNothing) {
  UnlockUsers users = {};
  users.lastUnlocked = NOBODY_UNLOCKED;
  PasswordDigest one = DigestNumbered(1), two = DigestNumbered(2), three = DigestNumbered(3);
  EXPECT_EQ(SetUnlockUser(users, "Ann", &one, SameAscii), UserChange::Added);
  EXPECT_EQ(SetUnlockUser(users, "Bob", &two, SameAscii), UserChange::Added);
  EXPECT_EQ(SetUnlockUser(users, "ANN", &three, SameAscii), UserChange::Replaced);
  EXPECT_EQ(Names(users), "ANN,Bob") << "in her place, with the new spelling";
  EXPECT_EQ(users.users[0].digest.hash[0], 3);
  EXPECT_EQ(SetUnlockUser(users, " Bob", &one, SameAscii), UserChange::Refused);
  EXPECT_EQ(users.users[1].digest.hash[0], 2) << "a refused name changes nobody";
  EXPECT_EQ(SetUnlockUser(users, "Carl", nullptr, SameAscii), UserChange::NothingToRemove);
  EXPECT_EQ(SetUnlockUser(users, "ann", nullptr, SameAscii), UserChange::Removed);
  EXPECT_EQ(Names(users), "Bob");
}

TEST(UnlockUsers, AFullListRefusesTheThirtyThirdUntilSomeoneGoes) {
  UnlockUsers users = {};
  PasswordDigest d = DigestNumbered(9);
  for (int i = 0; i < MOST_UNLOCK_USERS; ++i)
    ASSERT_EQ(SetUnlockUser(users, ("P" + std::to_string(i)).c_str(), &d, SameAscii), UserChange::Added);
  EXPECT_EQ(SetUnlockUser(users, "P32", &d, SameAscii), UserChange::Full);
  EXPECT_EQ(users.count, MOST_UNLOCK_USERS);
  EXPECT_EQ(SetUnlockUser(users, "p7", &d, SameAscii), UserChange::Replaced) << "a full list still takes a new digest";
  EXPECT_EQ(SetUnlockUser(users, "P0", nullptr, SameAscii), UserChange::Removed);
  EXPECT_EQ(SetUnlockUser(users, "P32", &d, SameAscii), UserChange::Added);
  EXPECT_STREQ(users.users[MOST_UNLOCK_USERS - 1].name, "P32") << "last in the order";
}

TEST(UnlockUsers, TheLoginPreselectsWhoUnlockedLastElseTheFirst) {
  UnlockUsers users = {};
  users.lastUnlocked = NOBODY_UNLOCKED;
  PasswordDigest d = DigestNumbered(1);
  for (const char* name : {"Ann", "Bob", "Carl"}) SetUnlockUser(users, name, &d, SameAscii);
  EXPECT_EQ(PreselectedEntry(users, true), 0);
  NoteWhoUnlocked(users, "carl", SameAscii);
  EXPECT_EQ(PreselectedEntry(users, true), 2);
  SetUnlockUser(users, "Ann", nullptr, SameAscii);
  EXPECT_EQ(PreselectedEntry(users, true), 1) << "Carl, one place up";
  NoteWhoUnlocked(users, "", SameAscii);
  EXPECT_EQ(PreselectedEntry(users, true), 2) << "the workstation's entry, after the people";
  EXPECT_EQ(PreselectedEntry(users, false), 0) << "no workstation password any more";
  NoteWhoUnlocked(users, "Bob", SameAscii);
  SetUnlockUser(users, "bob", nullptr, SameAscii);
  EXPECT_EQ(PreselectedEntry(users, true), 0) << "the one who unlocked last is gone: the first";
  NoteWhoUnlocked(users, "Dora", SameAscii);
  EXPECT_EQ(PreselectedEntry(users, true), 0) << "removed during the lock";
}

}  // namespace
