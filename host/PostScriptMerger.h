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
//   When a setup block holds a "*PageSize" feature, the document's "*PageSize"
//   and "*PageRegion" features go too, so that the job has one page size.
//   A feature without its "%%EndFeature" ends where the next feature begins,
//   where the wrapper around it closes, or at the end of its section (setup,
//   page setup, page, trailer): nothing after goes with it. A wrapper that
//   held only removed features goes at a section end, where its closing line
//   can no longer come; "[{" lines the removed lines opened and left open are
//   written back, so that every wrapper line kept finds its pair.
// Everything else is copied byte for byte with its own line ends; data and
// binary sections are skipped by their counts, embedded documents copied
// untouched (inside a removed feature they go with it, whatever they hold).
// Each inserted block ends in the document's line end.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/JobInjections.h"
#include "host/JobOutput.h"
#include "host/PostScriptLineReader.h"

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
  // Inserted lines end as the document's first line does, which may come in
  // several pieces.
  void FirstLineEnd(const LinePiece& piece);
  // True when the line belonged to an embedded document or a removed feature.
  bool Embedded(std::string_view text, const LinePiece& piece);
  // `whole`: the line came in one piece of any reader.
  bool Removed(std::string_view text, bool whole);
  // False when the line ends the feature being removed and is the document's again.
  bool InRemovedFeature(std::string_view text, bool whole);
  // `sectionEnd`: the section ended; wrappers opened inside the feature cannot close.
  void EndRemoval(bool sectionEnd);
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
  // The keys whose features leave the document: the suppressed ones, and the
  // page size and region when the extension writes a page size.
  std::vector<std::string> mRemovedKeys;
  std::string mLineEnd;
  bool mFirstLineOpen = false;  // its end not read yet
  Section mSection = kHeader;
  int mEmbeddedDepth = 0;
  bool mRemovingFeature = false;
  // In the feature being removed: "[{" lines not closed yet, embedded documents.
  uint64_t mRemovedOpeners = 0;
  int mRemovedEmbeddedDepth = 0;
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
