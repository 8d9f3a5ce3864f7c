#pragma once
// The large PPD the benchmarks and tests work on, generated: 2,000 controls
// (popups of 10 to 50 choices, Booleans, ranges and job notes) in 40
// roll-downs, and 20,000 constraint lines between popup choices, none between
// two defaults, about 2 MB; and a half-size file. The page sizes a print
// server needs are plain PPD keywords, no option of the extension's.
// WritePPD also makes smaller files whose constraint lines repeat.

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace generatedppd {

const int kPanes = 10;
const int kRollDowns = 40;

// A fixed sequence of numbers, so that every run parses the same file.
class Sequence {
 public:
  unsigned Next(unsigned bound) {
    mState = mState * 6364136223846793005ULL + 1442695040888963407ULL;
    return unsigned(mState >> 33) % bound;
  }

 private:
  unsigned long long mState = 42;
};

inline int ChoiceCount(int control) { return 10 + (control * 7) % 41; }

inline void WriteLayout(std::ostream& out) {
  for (int p = 0; p < kPanes; ++p) {
    out << "*%ZPXPropPage FPPage" << p << "/Page " << p << ": True\n";
    out << "*%ZPXGroupName Pane" << p << "/Pane " << p << ": True\n";
    out << "*%ZPXParent Pane" << p << "/FPPage" << p << ": True|Scrollpane\n";
  }
  for (int r = 0; r < kRollDowns; ++r) {
    out << "*%ZPXGroupName Roll" << r << "/Section " << r << ": True\n";
    out << "*%ZPXParent Roll" << r << "/Pane" << r % kPanes << ": True|Rolldown\n";
  }
}

inline void WriteControl(std::ostream& out, int i) {
  std::string key = "ZPOpt" + std::to_string(i);
  out << "*%ZPXFlags *" << key << ": Setup|Dynamic\n";
  out << "*%ZPXGroup *" << key << " Roll" << i % kRollDowns << "/Option " << i << "\n";
  switch (i % 4) {
    case 0:
      out << "*OpenUI *" << key << "/Option " << i << ": PickOne\n";
      out << "*OrderDependency: " << 10 + i % 80 << " AnySetup *" << key << "\n";
      out << "*Default" << key << ": C0\n";
      for (int c = 0; c < ChoiceCount(i); ++c)
        out << "*" << key << " C" << c << "/Choice " << c << " of option " << i << ": \"<</ZPX" << i
            << " " << c << ">> setpagedevice\"\n";
      out << "*CloseUI: *" << key << "\n";
      break;
    case 1:
      out << "*OpenUI *" << key << "/Switch " << i << ": Boolean\n";
      out << "*Default" << key << ": False\n";
      out << "*" << key << " True/On: \"<</ZPX" << i << " true>> setpagedevice\"\n";
      out << "*" << key << " False/Off: \"<</ZPX" << i << " false>> setpagedevice\"\n";
      out << "*CloseUI: *" << key << "\n";
      break;
    case 2:
      out << "*%ZPXRange *" << key << "/Amount " << i << ": (1;999;1;1) \"<</ZPX" << i << " <*"
          << key << ">>> setpagedevice\"\n";
      break;
    default:
      out << "*%ZPXJobNote *" << key << "/Note " << i
          << ": 64|Alpha|Numeric|Remembered|MinLength2\n";
      out << "*%Default" << key << ": none\n";
      break;
  }
}

inline void WritePageSizes(std::ostream& out) {
  out << "*OpenUI *PageSize/Page Size: PickOne\n*DefaultPageSize: Letter\n"
         "*PageSize Letter/US Letter: \"<</PageSize [612 792]>> setpagedevice\"\n"
         "*PageSize A4/A4: \"<</PageSize [595 842]>> setpagedevice\"\n*CloseUI: *PageSize\n"
         "*OpenUI *PageRegion: PickOne\n*DefaultPageRegion: Letter\n"
         "*PageRegion Letter/US Letter: \"<</PageSize [612 792]>> setpagedevice\"\n"
         "*PageRegion A4/A4: \"<</PageSize [595 842]>> setpagedevice\"\n*CloseUI: *PageRegion\n"
         "*DefaultImageableArea: Letter\n*ImageableArea Letter/US Letter: \"12 12 600 780\"\n"
         "*ImageableArea A4/A4: \"12 12 583 830\"\n*DefaultPaperDimension: Letter\n"
         "*PaperDimension Letter/US Letter: \"612 792\"\n*PaperDimension A4/A4: \"595 842\"\n";
}

// Only the popups (every fourth control) have choices to constrain. Two
// defaults (C0) never: no print server takes a PPD whose defaults conflict.
inline void WriteConstraints(std::ostream& out, int controls, int lines) {
  Sequence random;
  int popups = controls / 4;
  for (int n = 0; n < lines; ++n) {
    int a = 4 * int(random.Next(unsigned(popups)));
    int b = 4 * int(random.Next(unsigned(popups)));
    unsigned choiceA = random.Next(unsigned(ChoiceCount(a)));
    unsigned choiceB = random.Next(unsigned(ChoiceCount(b)));
    if (choiceA == 0 && choiceB == 0) choiceB = 1;
    out << "*UIConstraints: *ZPOpt" << a << " C" << choiceA << " *ZPOpt" << b << " C" << choiceB
        << "\n";
  }
}

// The constraint lines are written `copies` times over, the same lines each time.
inline std::string WritePPD(int controls, int constraints, int copies = 1) {
  std::string path = "/tmp/zpx-bench-" + std::to_string(getpid()) + "-" + std::to_string(controls) +
                     "-" + std::to_string(copies) + ".ppd";
  std::ofstream out(path, std::ios::binary);
  out << "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n"
         "*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n*PCFileName: \"ZPXBENCH.PPD\"\n"
         "*Manufacturer: \"ZPX\"\n*Product: \"(ZPX Bench)\"\n*ModelName: \"ZPX Bench\"\n"
         "*ShortNickName: \"ZPX Bench\"\n*NickName: \"ZPX Bench\"\n*PSVersion: \"(3010.106) 1\"\n";
  WritePageSizes(out);
  WriteLayout(out);
  for (int i = 0; i < controls; ++i) WriteControl(out, i);
  for (int copy = 0; copy < copies; ++copy) WriteConstraints(out, controls, constraints);
  return path;
}

// The generated files, written once per run and removed at its end.
class Files {
 public:
  Files() : mFull(WritePPD(2000, 20000)), mHalf(WritePPD(1000, 10000)) {}
  ~Files() {
    std::remove(mFull.c_str());
    std::remove(mHalf.c_str());
  }
  const std::string& Path(int64_t size) const { return size == 2 ? mFull : mHalf; }

 private:
  std::string mFull;
  std::string mHalf;
};

inline const Files& GeneratedFiles() {
  static Files files;
  return files;
}

}  // namespace generatedppd
