#include "PPDX/PPDObjects/PPDXControl.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "PPDX/PPDObjects/PPDXElementAPI.h"
#include "carbon/MacMemory.h"
#include "foundation/CString.h"
#include "foundation/Settings.h"
#include "foundation/SettingsStrings.h"
#include "support/KVProbe.h"

namespace {

// Built before the control, which takes its flag strings.
struct FlagWords {
  explicit FlagWords(const std::vector<const char*>& words) {
    for (const char* word : words) flags.PushBack(new CString(word));
  }
  PointerList flags;
};

// The smallest complete kind: it only chooses its type.
class Control : private FlagWords, public PPDXControl {
 public:
  Control(const char* keyword, CNTL_TYPE type, std::vector<const char*> flagWords = {},
          const char* code = nullptr)
      : FlagWords(flagWords),
        PPDXControl(keyword, CFSTR("Option"), flags, Copy(code), code ? strlen(code) : 0, true,
                    nullptr) {
    SetType(type);
  }
  Control(Settings& settings, long index)
      : FlagWords({}), PPDXControl(settings, index, nullptr) {}

  void ResetToDefaultValue() override {}
  short Restore(Settings&, long) override { return 0; }
  CFStringRef CopyCurrentControlValueString() override { return nullptr; }
  void SetCurrentControlWithCFString(CFStringRef) override {}

 private:
  static unsigned char* Copy(const char* code) {
    return code ? reinterpret_cast<unsigned char*>(strdup(code)) : nullptr;
  }
};

std::string Snippet(PPDXControl& control, const char* data, const char* option, bool frame) {
  auto* bytes = reinterpret_cast<unsigned char*>(const_cast<char*>(data));
  const long length = data ? long(strlen(data)) : 0;
  const long size = control.GeneratePSOutputData(nullptr, bytes, length, option, frame);
  std::vector<unsigned char> out(size_t(size) + 1, 0xEE);
  EXPECT_EQ(size, control.GeneratePSOutputData(out.data(), bytes, length, option, frame));
  EXPECT_EQ(0xEE, out[size_t(size)]) << "wrote past its size";
  return std::string(out.begin(), out.begin() + size);
}

std::string Injected(PPDXControl& control, const char* name, const std::string& data,
                     const char* value) {
  unsigned char* out = nullptr;
  const long length = control.Inject(name, reinterpret_cast<const unsigned char*>(data.data()),
                                     long(data.size()), value, out);
  EXPECT_NE(out, nullptr);
  std::string result(reinterpret_cast<char*>(out));
  EXPECT_EQ(long(result.size()), length);
  std::free(out);
  return result;
}

TEST(PPDXControlTest, FramedSnippetSizes) {
  Control duplex("*Duplex", CNTL_POPUP);
  const char* code = "<< /Duplex false >> setpagedevice\n";
  EXPECT_EQ(Snippet(duplex, code, "None", true),
            "%%BeginFeature: *Duplex None\n<< /Duplex false >> setpagedevice\n%%EndFeature\n");
  EXPECT_EQ(Snippet(duplex, nullptr, "None", true),
            "%%BeginFeature: *Duplex None\n\n%%EndFeature\n");
  EXPECT_EQ(long(strlen("*Duplex") + strlen("None") + 32),
            duplex.GeneratePSOutputData(nullptr, nullptr, 0, "None", true));
  EXPECT_EQ(Snippet(duplex, code, "None", false), code);
  EXPECT_EQ(Snippet(duplex, nullptr, "None", false), "\n");
  EXPECT_EQ(Snippet(duplex, "", "None", false), "\n");
}

TEST(PPDXControlTest, InjectIntoJobNotesMakesHexadecimalStrings) {
  Control note("*JobName", CNTL_JOBNOTE);
  EXPECT_EQ(Injected(note, "JobName", "(<jOBnAME>) show\n", "Ab"), "<4162> show\n");
  EXPECT_EQ(Injected(note, "JobName", "<JobName> <JOBNAME>", "\xFF\\"), "<FF5C> <FF5C>");
  // An empty value stays an empty value, parentheses and all.
  EXPECT_EQ(Injected(note, "JobName", "(<JobName>) show", ""), "() show");
  // A DSC comment line takes the text as it is.
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
  EXPECT_EQ(Injected(range, "Darkness", "no placeholder <Dark>", "7"), "no placeholder <Dark>");
}

TEST(PPDXControlTest, FlagsSurviveSaveAndRestore) {
  Control control("*Collate", CNTL_NONE, {"Dynamic", "Setup"}, "true setcollate\n");
  EXPECT_TRUE(control.IsDynamic());
  EXPECT_FALSE(IsCommandControl(&control));
  Settings settings;
  ASSERT_EQ(0, control.Save(settings, 5004));
  std::unique_ptr<CString> flags(GetSettingsString(settings, FourCC("CFlg"), 5004));
  ASSERT_TRUE(flags);
  EXPECT_STREQ(*flags, "Dynamic|Setup|");

  char** flattened = nullptr;
  ASSERT_EQ(0, settings.GetSettingsHandle(&flattened));
  Settings copy(flattened);
  DisposeHandle(flattened);
  Control restored(copy, 5004);
  EXPECT_EQ(2, GetControlFlagCount(&restored));
  EXPECT_STREQ(GetFirstControlFlag(&restored), "Dynamic");
  EXPECT_STREQ(GetNextControlFlag(&restored), "Setup");
  EXPECT_EQ(GetNextControlFlag(&restored), nullptr);
  EXPECT_EQ(GetNextControlFlag(&restored), nullptr);
  EXPECT_TRUE(restored.IsDynamic() && IsSetupControl(&restored));
  EXPECT_FALSE(IsSpoolerControl(&restored) || IsMacNJNControl(&restored) ||
               IsMacImgShiftControl(&restored) || IsNoNimboDriverUIControl(&restored));
  EXPECT_STREQ(restored.Keyword(), "*Collate");
  EXPECT_STREQ(restored.UserName(), "Option");
  EXPECT_EQ(16, GetPostScript(&restored, nullptr));
  unsigned char code[16];
  EXPECT_EQ(16, GetPostScript(&restored, code));
  EXPECT_EQ(0, memcmp(code, "true setcollate\n", 16));
}

TEST(PPDXControlTest, RestoreSkipsEmptyFlagWords) {
  Settings settings;
  ASSERT_EQ(0, settings.Add(FourCC("CFlg"), 9, "||Command||MacIS", 16));
  ASSERT_EQ(0, settings.Add(FourCC("Ordr"), 9, "\1\0\0\0", 4));
  Control control(settings, 9);
  EXPECT_EQ(2, control.ControlFlagCount());
  EXPECT_TRUE(control.IsCommand() && control.IsMacImgShift());
  EXPECT_EQ(0, control.PostScript(nullptr));
  Settings again;
  ASSERT_EQ(0, control.Save(again, 9));
  SInt16 order = -1;
  long size = sizeof order;
  ASSERT_EQ(0, again.Get(FourCC("Ordr"), 9, &order, size, true));
  EXPECT_EQ(0, order);  // a four-byte order was not taken
}

TEST(PPDXControlTest, ReservedKeywordsAreRefusedExactly) {
  EXPECT_FALSE(PPDXControl::ValidKeyword("*ZP_PROP_WATERMARK"));
  EXPECT_FALSE(PPDXControl::ValidKeyword("*ZPTintora"));
  EXPECT_FALSE(PPDXControl::ValidKeyword("*ZP_PROP_LOCAL_ZPLANDSCAPE"));
  EXPECT_FALSE(PPDXControl::ValidKeyword(nullptr));
  EXPECT_TRUE(PPDXControl::ValidKeyword("*PageSize"));
  EXPECT_TRUE(PPDXControl::ValidKeyword("*ZP_PROP_WATERMARK_COLOR"));
  EXPECT_TRUE(PPDXControl::ValidKeyword("*zp_prop_watermark"));
  Control control("*A", CNTL_NONE);
  EXPECT_FALSE(IsValidControlKeyword(nullptr, "*PageSize"));
  EXPECT_FALSE(IsValidControlKeyword(&control, nullptr));
  EXPECT_TRUE(IsValidControlKeyword(&control, "*PageSize"));
}

TEST(PPDXControlTest, ValueChangesReachTheConstraintSet) {
  KVProbe probe("*Duplex", {"On", "Off"});
  PointerList noFlags;
  struct Reporting : PPDXControl {
    Reporting(PointerList& flags, UIConstraints* set)
        : PPDXControl("*Duplex", CFSTR("Duplex"), flags, nullptr, 0, true, set) {}
    void ResetToDefaultValue() override {}
    short Restore(Settings&, long) override { return 0; }
    CFStringRef CopyCurrentControlValueString() override { return nullptr; }
    void SetCurrentControlWithCFString(CFStringRef) override {}
  } reporting(noFlags, &probe.constraints);
  reporting.UpdateKVCache("*Duplex", "On");
  EXPECT_TRUE(probe.Current("On"));
  EXPECT_FALSE(probe.Current("Off"));
  Control unconstrained("*Duplex", CNTL_NONE);
  unconstrained.UpdateKVCache("*Duplex", "Off");  // no constraint set: nothing happens
  EXPECT_TRUE(probe.Current("On"));
}

TEST(PPDXControlTest, FlatFunctionsTakeNull) {
  EXPECT_EQ(Keyword(nullptr), nullptr);
  EXPECT_EQ(UserName(nullptr), nullptr);
  EXPECT_FALSE(IsVisible(nullptr));
  EXPECT_EQ(GetFirstControlFlag(nullptr), nullptr);
  EXPECT_EQ(GetControlFlagCount(nullptr), 0);
  EXPECT_EQ(GetPostScript(nullptr, nullptr), 0);
  ResetControlToDefault(nullptr);
  EXPECT_FALSE(IsCommandControl(nullptr));
}

}  // namespace
