#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "PPDX/PPDObjects/PPDXControl.h"
#include "PPDX/PPDObjects/PPDXElementAPI.h"
#include "foundation/DocumentStorage.h"
#include "foundation/SettingsStrings.h"
#include "support/ControlTestSupport.h"

namespace {

// Built before the control, which takes its flag strings.
struct FlagWords {
  explicit FlagWords(const std::vector<const char*>& words) : flags(FlagList(words)) {}
  PointerList flags;
};

// The smallest complete kind: it only chooses its type.
class Control : private FlagWords, public PPDXControl {
 public:
  Control(const char* keyword, CNTL_TYPE type, std::vector<const char*> words = {},
          const char* code = nullptr)
      : FlagWords(words),
        PPDXControl(keyword, CFSTR("Option"), flags, Code(code), code ? long(strlen(code)) : 0,
                    true, nullptr) {
    SetType(type);
  }
  Control(Settings& settings, long index, DocumentStorage* storage = nullptr)
      : FlagWords({}), PPDXControl(settings, index, nullptr, storage) {}

  void ResetToDefaultValue() override {}
  short Restore(Settings&, long) override { return 0; }
  CFStringRef CopyCurrentControlValueString() override { return nullptr; }
  void SetCurrentControlWithCFString(CFStringRef) override {}
};

std::string GeneratedOutput(PPDXControl& control, const char* data, bool frame) {
  auto* bytes = reinterpret_cast<unsigned char*>(const_cast<char*>(data));
  const long length = data ? long(strlen(data)) : 0;
  const long size = control.GeneratePSOutputData(nullptr, bytes, length, "None", frame);
  std::vector<unsigned char> out(size_t(size) + 1, 0xEE);
  EXPECT_EQ(size, control.GeneratePSOutputData(out.data(), bytes, length, "None", frame));
  EXPECT_EQ(0xEE, out[size_t(size)]) << "wrote past its size";
  return std::string(out.begin(), out.begin() + size);
}

std::string Injected(PPDXControl& control, const char* name, const std::string& data,
                     const char* value) {
  unsigned char* out = nullptr;
  const long length = control.Inject(name, reinterpret_cast<const unsigned char*>(data.data()),
                                     long(data.size()), value, out);
  std::string result(reinterpret_cast<char*>(out));
  EXPECT_EQ(long(result.size()), length);
  std::free(out);
  return result;
}

TEST(PPDXControlTest, FramedSnippetSizes) {
  Control duplex("*Duplex", CNTL_POPUP);
  const char* code = "<< /Duplex false >> setpagedevice\n";
  EXPECT_EQ(GeneratedOutput(duplex, code, true),
            "%%BeginFeature: *Duplex None\n<< /Duplex false >> setpagedevice\n%%EndFeature\n");
  EXPECT_EQ(GeneratedOutput(duplex, nullptr, true),
            "%%BeginFeature: *Duplex None\n\n%%EndFeature\n");
  EXPECT_EQ(long(strlen("*Duplex") + strlen("None") + 32),
            duplex.GeneratePSOutputData(nullptr, nullptr, 0, "None", true));
  EXPECT_EQ(GeneratedOutput(duplex, code, false), code);
  EXPECT_EQ(GeneratedOutput(duplex, nullptr, false), "\n");
  EXPECT_EQ(GeneratedOutput(duplex, "", false), "\n");
}

TEST(PPDXControlTest, InjectIntoJobNotesMakesHexadecimalStrings) {
  Control note("*JobName", CNTL_JOBNOTE);
  EXPECT_EQ(Injected(note, "JobName", "(<jOBnAME>) show\n", "Ab"), "<4162> show\n");
  EXPECT_EQ(Injected(note, "JobName", "<JobName> <JOBNAME>", "\xFF\\"), "<FF5C> <FF5C>");
  EXPECT_EQ(Injected(note, "JobName", "(<JobName>) show", ""), "() show");
  // A DSC comment line takes the value as it is.
  EXPECT_EQ(Injected(note, "JobName", "%%Title: (<JobName>)", "Ab"), "%%Title: (Ab)");
}

TEST(PPDXControlTest, InjectDoublesBackslashesOutsideComments) {
  Control range("*Darkness", CNTL_RANGE);
  EXPECT_EQ(Injected(range, "Darkness", "%%Path: <DARKNESS>\n", "C:\\jobs\\a"),
            "%%Path: C:\\jobs\\a\n");
  EXPECT_EQ(Injected(range, "Darkness", "(<Darkness>) <darkness> def\n", "a\\b"),
            "(a\\\\b) a\\\\b def\n");
  // The text ends at its first NUL, whatever the length says.
  EXPECT_EQ(Injected(range, "Darkness", std::string("<Darkness>\0<Darkness>", 21), "7"), "7");
}

TEST(PPDXControlTest, FlagsAndCodeSurviveSaveAndRestore) {
  Control control("*Collate", CNTL_NONE, {"Dynamic", "Setup"}, "true setcollate\n");
  EXPECT_FALSE(IsCommandControl(&control));
  Settings settings;
  ASSERT_EQ(0, control.Save(settings, 5004));
  std::unique_ptr<CString> flags(GetSettingsString(settings, FourCC("CFlg"), 5004));
  ASSERT_TRUE(flags);
  EXPECT_STREQ(*flags, "Dynamic|Setup|");

  Control restored(*Unflattened(settings), 5004);
  EXPECT_EQ(2, GetControlFlagCount(&restored));
  EXPECT_STREQ(GetFirstControlFlag(&restored), "Dynamic");
  EXPECT_STREQ(GetNextControlFlag(&restored), "Setup");
  EXPECT_EQ(GetNextControlFlag(&restored), nullptr);
  EXPECT_EQ(GetNextControlFlag(&restored), nullptr);
  EXPECT_TRUE(restored.IsDynamic() && IsSetupControl(&restored));
  EXPECT_FALSE(IsSpoolerControl(&restored) || IsMacNJNControl(&restored) ||
               IsMacImgShiftControl(&restored) || IsNoNimboDriverUIControl(&restored));
  unsigned char code[16];
  EXPECT_EQ(16, GetPostScript(&restored, nullptr));
  EXPECT_EQ(16, GetPostScript(&restored, code));
  EXPECT_EQ(0, memcmp(code, "true setcollate\n", 16));

  Settings odd;
  ASSERT_EQ(0, odd.Add(FourCC("CFlg"), 9, "||Command||MacIS", 16));
  ASSERT_EQ(0, odd.Add(FourCC("Ordr"), 9, "\1\0\0\0", 4));
  Control fromOdd(odd, 9);
  EXPECT_EQ(2, fromOdd.ControlFlagCount());
  EXPECT_TRUE(fromOdd.IsCommand() && fromOdd.IsMacImgShift());
  Settings again;
  ASSERT_EQ(0, fromOdd.Save(again, 9));
  SInt16 order = -1;
  long size = sizeof order;
  ASSERT_EQ(0, again.Get(FourCC("Ordr"), 9, &order, size, true));
  EXPECT_EQ(0, order);  // a four-byte order was not taken
}

// Restored for a document, the flag words live in its storage, read as heap
// ones do and end with the control.
TEST(PPDXControlTest, RestoredFlagWordsLiveInTheStorageGiven) {
  Control saved("*Collate", CNTL_NONE, {"Dynamic", "Setup"});
  Settings settings;
  ASSERT_EQ(0, saved.Save(settings, 5004));
  DocumentStorage storage;
  {
    Control restored(settings, 5004, &storage);
    EXPECT_GT(storage.ChunkBytes(), 0u);
    EXPECT_EQ(restored.ControlFlagCount(), 2);
    EXPECT_TRUE(restored.IsDynamic() && restored.IsSetup() && !restored.IsCommand());
  }
#if defined(__SANITIZE_ADDRESS__)
  EXPECT_DEATH(
      {
        const volatile char* word;
        {
          Control restored(settings, 5004, &storage);
          word = restored.FirstControlFlag();
        }
        (void)word[0];
      },
      "use-after-poison");
#endif
}

TEST(PPDXControlTest, ReservedKeywordsAreRefusedExactly) {
  for (const char* reserved : {"*ZP_PROP_WATERMARK", "*ZPTintora", "*ZP_PROP_LOCAL_ZPLANDSCAPE",
                               static_cast<const char*>(nullptr)})
    EXPECT_FALSE(PPDXControl::ValidKeyword(reserved));
  for (const char* free : {"*PageSize", "*ZP_PROP_WATERMARK_COLOR", "*zp_prop_watermark"})
    EXPECT_TRUE(PPDXControl::ValidKeyword(free)) << free;
  Control control("*A", CNTL_NONE);
  EXPECT_FALSE(IsValidControlKeyword(nullptr, "*PageSize"));
  EXPECT_FALSE(IsValidControlKeyword(&control, nullptr));
  EXPECT_TRUE(IsValidControlKeyword(&control, "*PageSize"));
  EXPECT_EQ(GetControlFlagCount(nullptr), 0);
  EXPECT_EQ(GetPostScript(nullptr, nullptr), 0);
  ResetControlToDefault(nullptr);
}

}  // namespace
