#pragma once
// Puts a dialog extension's blocks into a DSC-structured PostScript document as
// the document streams through, in constant memory:
// - header comments before "%%EndComments" (or where the header comments end),
//   replacing the document's header comments of the same name;
// - setup blocks at the end of the setup section, after the document's own
//   setup code; without a setup section one is made after "%%EndProlog", or
//   after the header when there is no prolog either; a block that begins with
//   "%%BeginFeature:" is wrapped in "[{" ... "} stopped cleartomark";
// - the document's "%%BeginFeature: *Key" ... "%%EndFeature" blocks and
//   "%%IncludeFeature: *Key" lines of suppressed keys go, with a "[{" ... "}
//   stopped cleartomark" wrapper that held nothing else; inserted blocks stay.
// Everything else is copied byte for byte with its own line ends; data and
// binary sections are skipped by their counts, embedded documents copied
// untouched. Each inserted block ends in the document's line end.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "print/JobInjections.h"
#include "print/JobOutput.h"
#include "print/PostScriptLineReader.h"

class PostScriptMerger {
 public:
  enum Result { kMerged, kNotPostScript, kReadFailed, kWriteFailed };

  PostScriptMerger(const JobInjections& injections, PostScriptLineReader& input, JobOutput& output);
  PostScriptMerger(const PostScriptMerger&) = delete;
  PostScriptMerger& operator=(const PostScriptMerger&) = delete;

  // The whole document; nothing is written when it does not begin with "%!".
  Result Merge();

 private:
  enum Section { kHeader, kBeforeSetup, kProlog, kSetup, kBody };

  void Line(const LinePiece& piece);
  // The rest of a line longer than the reader's buffer.
  void Continuation(const LinePiece& piece);
  // True when the line belonged to an embedded document or a removed feature.
  bool Embedded(std::string_view text, const LinePiece& piece);
  bool Removed(std::string_view text);
  // `whole`: the line came in one piece of any reader.
  bool HeldWrapper(std::string_view text, bool whole);
  void InSection(std::string_view text, const LinePiece& piece);
  void Header(std::string_view text, const LinePiece& piece);
  void BeforeSetup(std::string_view text, const LinePiece& piece);
  void Copy(const LinePiece& piece);
  // Starts copying the counted bytes or lines a data or binary comment announces.
  void CountedSection(std::string_view text);
  void CopyCounted();
  void Finish();

  void InsertHeaderComments();
  void InsertSetupBlocks();
  void InsertMadeSetup();
  void InsertBlock(const std::string& block);
  void ReleaseWrapper();
  bool IsSuppressed(std::string_view text, const char* comment) const;
  bool IsReplacedHeaderComment(std::string_view text) const;

  const JobInjections& mInjections;
  PostScriptLineReader& mInput;
  JobOutput& mOutput;
  std::vector<std::string> mReplacedNames;
  std::string mLineEnd;
  Section mSection = kHeader;
  int mEmbeddedDepth = 0;
  bool mRemovingFeature = false;
  bool mDroppingContinuation = false;  // "%%+" lines of a replaced header comment
  bool mDroppingLine = false;          // the rest of a long line that went
  // A "[{" line kept back until it is known whether it wraps a removed feature.
  std::string mWrapper;
  bool mWrapperHeld = false;
  bool mWrapperEmptied = false;
  uint64_t mCountedLeft = 0;
  bool mCountingLines = false;
  bool mLastLineOpen = false;  // the last line written had no line end
};
