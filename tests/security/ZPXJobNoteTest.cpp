#include "security/ZPXJobNote.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <string>

#include "PPDX/PPDObjects/Controls/PPDXJobNote.h"
#include "PPDX/ZPXPPD.h"
#include "foundation/CString.h"
#include "foundation/NumberText.h"
#include "security/ControllerKeys.h"
#include "security/JobNoteGlobalsTest.h"
#include "security/ReferenceCiphers.h"
#include "support/ModelControls.h"
#include "support/ParsedDocument.h"

namespace {

class ZPXJobNoteTest : public JobNoteGlobalsTest {
 protected:
  // Makes a document of the special options current, as the output does.
  void UseDocument(const std::string& specialOptions) {
    mCurrent = ParseText("*PPD-Adobe: \"4.3\"\n" + specialOptions);
    gZPXPPD = mCurrent.get();
  }

  // The hexadecimal text, "<refused>" when encryptNote answers false. The
  // output is exactly as large as promised, and nothing after the text is set.
  std::string Encrypted(const std::string& text) {
    std::unique_ptr<PPDXJobNote> control(model::JobNote("*Notes1", true, "unused"));
    ZPXJobNote note(control.get(), false);
    std::unique_ptr<char[]> out(new char[ZPXJobNote::kEncryptedTextSize]);
    std::fill_n(out.get(), ZPXJobNote::kEncryptedTextSize, 'x');
    const bool encrypted = note.encryptNote("ignored", text.c_str(), out.get());
    const std::string hex = out.get();
    EXPECT_TRUE(std::all_of(out.get() + hex.size(), out.get() + ZPXJobNote::kEncryptedTextSize,
                            [](char c) { return c == '\0'; }));
    if (!encrypted) {
      EXPECT_EQ(hex, "");
      return "<refused>";
    }
    return hex;
  }

  std::unique_ptr<ZPXPPD> mCurrent;
};

std::string UpperCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return char(std::toupper(c)); });
  return text;
}

Bytes KeyAt(size_t offset, size_t length) {
  return Bytes(kJobNoteKeyTable + offset, kJobNoteKeyTable + offset + length);
}

Bytes WithPad(const std::string& text, size_t count, unsigned char value) {
  Bytes bytes(text.begin(), text.end());
  bytes.insert(bytes.end(), count, value);
  return bytes;
}

TEST_F(ZPXJobNoteTest, DESPadsWithItsCountAndAFullBlockAfterAFullOne) {
  UseDocument("");
  // Seven characters and one pad byte make one block; eight make two.
  EXPECT_EQ(Encrypted("1234567"),
            UpperCase(ToHex(ReferenceDES(KeyAt(0, 8), WithPad("1234567", 1, 1), true))));
  EXPECT_EQ(Encrypted("12345678"),
            UpperCase(ToHex(ReferenceDES(KeyAt(0, 8), WithPad("12345678", 8, 8), true))));
  EXPECT_EQ(Encrypted("").size(), 16u);

  // The key's place in the table; any other value, or another algorithm, is the first DES key.
  const struct {
    const char* specials;
    size_t offset;
  } cases[] = {
      {"*%ZPXSpecialOption *UseSpecialKey: 2\n", 8},
      {"*%ZPXSpecialOption *UseSpecialKey: 3\n", 16},
      {"*%ZPXSpecialOption *UseSpecialKey: 4\n", 24},
      {"*%ZPXSpecialOption *UseSpecialKey: 5\n", 0},
      {"*%ZPXSpecialOption *UseSpecialKey: 22\n", 0},
      {"*%ZPXSpecialOption *UseSpecialKey: 3\n*%ZPXSpecialOption *UseSpecialAlgorithm: 1\n", 16},
  };
  for (const auto& c : cases) {
    UseDocument(c.specials);
    EXPECT_EQ(Encrypted("4711"),
              UpperCase(ToHex(ReferenceDES(KeyAt(c.offset, 8), WithPad("4711", 4, 4), true))))
        << c.specials;
  }
}

TEST_F(ZPXJobNoteTest, AESCarriesTheTerminatorAndPadsWithCountLessOne) {
  UseDocument("*%ZPXSpecialOption *UseSpecialAlgorithm: 2\n");
  const Bytes key = KeyAt(0, 32);
  const Bytes iv(kJobNoteIV, kJobNoteIV + 16);

  // Fourteen characters and the terminator leave one pad byte, of value 0.
  const std::string fourteen = Encrypted("ABCDEFGHIJKLMN");
  ASSERT_EQ(fourteen.size(), 32u);
  const Bytes plain14 = ReferenceCBC(key, iv, FromHex(fourteen), false);
  EXPECT_EQ(std::string(plain14.begin(), plain14.begin() + 14), "ABCDEFGHIJKLMN");
  EXPECT_EQ(plain14[14], 0);
  EXPECT_EQ(plain14[15], 0);

  // Fifteen and the terminator fill a block; a second block of sixteen 15s follows.
  const std::string fifteen = Encrypted("ABCDEFGHIJKLMNO");
  ASSERT_EQ(fifteen.size(), 64u);
  const Bytes plain15 = ReferenceCBC(key, iv, FromHex(fifteen), false);
  EXPECT_EQ(plain15[15], 0);
  EXPECT_EQ(Bytes(plain15.begin() + 16, plain15.end()), Bytes(16, 15));

  UseDocument("*%ZPXSpecialOption *UseSpecialAlgorithm: 2\n*%ZPXSpecialOption *UseSpecialKey: 4\n");
  Bytes padded = WithPad("secret", 1, 0);
  padded.insert(padded.end(), 9, 8);
  EXPECT_EQ(Encrypted("secret"), UpperCase(ToHex(ReferenceCBC(KeyAt(24, 32), iv, padded, true))));
}

// The hexadecimal text holds 128 ciphertext bytes: a longer ciphertext is
// refused, never cut and never written past the output.
TEST_F(ZPXJobNoteTest, NotesTooLongForTheOutputAreRefused) {
  UseDocument("");
  EXPECT_EQ(Encrypted(std::string(127, 'd')).size(), 256u);
  EXPECT_EQ(Encrypted(std::string(128, 'd')), "<refused>");
  EXPECT_EQ(Encrypted(std::string(255, 'd')), "<refused>");
  UseDocument("*%ZPXSpecialOption *UseSpecialAlgorithm: 2\n");
  EXPECT_EQ(Encrypted(std::string(126, 'a')).size(), 256u);
  EXPECT_EQ(Encrypted(std::string(127, 'a')), "<refused>");
  EXPECT_EQ(Encrypted(std::string(4000, 'a')), "<refused>");

  gZPXPPD = nullptr;
  EXPECT_EQ(Encrypted("1234"), "<refused>");
}

TEST_F(ZPXJobNoteTest, KeywordsTitlesAndTextsAsTheOutputReadsThem) {
  for (short row = 0; row < kKeywordMapRows; ++row) {
    std::unique_ptr<PPDXJobNote> control(model::JobNote(gKeywordMap[row].keyword, true, ""));
    short index = 99;
    EXPECT_TRUE(ZPXJobNote(control.get(), false).specialKeyword(&index));
    EXPECT_EQ(index, row);
  }
  for (const char* other : {"*Notes", "*notes1", "*Notes1 ", "*ZPMailboxNum"}) {
    std::unique_ptr<PPDXJobNote> control(model::JobNote(other, true, ""));
    short index = 99;
    EXPECT_FALSE(ZPXJobNote(control.get(), false).specialKeyword(&index)) << other;
    EXPECT_EQ(index, -1);
  }

  std::unique_ptr<PPDXJobNote> control(model::JobNote("*Notes2", true, ""));
  ZPXJobNote note(control.get(), false);
  EXPECT_EQ(note.getTitle(nullptr), 7);  // "Option" and its terminator
  char title[7];
  EXPECT_EQ(note.getTitle(title), 7);
  EXPECT_STREQ(title, "Option");

  char text[8] = "xxxxxxx";
  EXPECT_EQ(note.getUserData(nullptr), 0);
  EXPECT_EQ(note.getUserData(text), 0);
  EXPECT_STREQ(text, "");
  control->SetNotes("Room 12");
  EXPECT_EQ(note.getUserData(nullptr), 8);
  EXPECT_EQ(note.getUserData(text), 8);
  EXPECT_STREQ(text, "Room 12");
}

TEST_F(ZPXJobNoteTest, OnlyTwoCharacterFieldsLimitTheirDigitRuns) {
  EXPECT_TRUE(validateRangeValues("12/31", 2));
  EXPECT_FALSE(validateRangeValues("123", 2));
  EXPECT_FALSE(validateRangeValues("1.2.2024", 2));
  EXPECT_TRUE(validateRangeValues("1a23b45", 2));
  EXPECT_TRUE(validateRangeValues("", 2));
  EXPECT_TRUE(validateRangeValues(nullptr, 2));
  EXPECT_FALSE(validateRangeValues("x7", 0));
  EXPECT_TRUE(validateRangeValues("1234", 4));

  PointerList flags;
  PPDXJobNote fields("*ZPDate", CFSTR("Date"), flags, nullptr, 0, new CString(""), nullptr, true,
                     10, JobNoteFlag(JobNoteFlag::kTwoCharField), 0);
  EXPECT_TRUE(ZPXJobNote(&fields, false).checkRangeValues("12 31"));
  EXPECT_FALSE(ZPXJobNote(&fields, false).checkRangeValues("12 031"));
  std::unique_ptr<PPDXJobNote> free(model::JobNote("*ZPText", true, ""));
  EXPECT_TRUE(ZPXJobNote(free.get(), false).checkRangeValues("12 031"));
}

TEST_F(ZPXJobNoteTest, NotesTakeTheSwitchOrTurnItOn) {
  std::unique_ptr<PPDXJobNote> control(model::JobNote("*ZPPin", true, "1234"));
  ASSERT_FALSE(control->GetNotesOnValue());

  gUserAuthNameWasInited = false;
  ZPXJobNote taken(control.get(), false);
  EXPECT_TRUE(taken.Initialised());
  EXPECT_FALSE(taken.NotesOn());
  EXPECT_FALSE(control->GetNotesOnValue());
  EXPECT_TRUE(gUserAuthNameWasInited);

  ZPXJobNote kept(control.get(), true);
  EXPECT_TRUE(kept.NotesOn());
  EXPECT_TRUE(control->GetNotesOnValue());
  EXPECT_FALSE(gUserAuthNameWasInited);

  // A switch already on stays on.
  EXPECT_TRUE(ZPXJobNote(control.get(), false).NotesOn());
}

}  // namespace
