// The output run of ZPXJobNoteList: what the job's notes put into the job
// ticket.

#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "PPDX/PPDObjects/Controls/PPDXJobNote.h"
#include "carbon/TextCommon.h"
#include "carbon/TextEncodingConverter.h"
#include "output/ZPXJobTicket.h"
#include "plugin/SessionFunctions.h"
#include "security/SpecialOptionValue.h"
#include "security/ZPXJobNoteList.h"

namespace {

// The platform's orientation numbers.
constexpr long kPortrait = 1;
constexpr long kReversePortrait = 3;
constexpr long kReverseLandscape = 4;

// The variant of Unicode that the controller's user records are written in.
constexpr TextEncodingVariant kUserNameVariant = 3;
// Feature codes up to this size are built on the stack.
constexpr long kLocalFeatureCodeSize = 5120;
// The output reads at most 255 characters of a note.
constexpr size_t kNoteTextSize = 256;

bool IsPortrait(long orientation) {
  return orientation == kPortrait || orientation == kReversePortrait;
}

// Two-up and six-up layouts put the pages on the sheet a quarter turn round.
long TurnedForLayout(long orientation, long long pagesPerSheet) {
  if (pagesPerSheet != 2 && pagesPerSheet != 6) return orientation;
  return IsPortrait(orientation) ? kReverseLandscape : kPortrait;
}

OSStatus GetTicketNumber(PMPrintSession session, CFStringRef ticketName, CFStringRef key,
                         SInt32& value) {
  PMTicketRef ticket = nullptr;
  OSStatus status = MyGetTicket(session, ticketName, ticket);
  if (status == noErr) status = PMTicketGetSInt32(ticket, kPMTopLevel, kPMTopLevel, key, &value);
  return status;
}

// The controller reads "/:" in a name as a separator unless it is written
// "//:"; the first one is escaped. From the first "/:" or "//" on, the name
// is left as it is.
std::string EscapedUserName(const std::string& name) {
  const size_t separator = name.find("/:");
  if (separator == std::string::npos || name.find("//") < separator) return name;
  return name.substr(0, separator) + "/" + name.substr(separator);
}

// The name in UTF-8; empty when it is not text in the application's encoding,
// so that no garbled name is sent.
std::string UTF8UserName(const std::string& name) {
  if (name.empty()) return name;
  TECObjectRef converter = nullptr;
  const TextEncoding utf8 =
      CreateTextEncoding(kTextEncodingUnicodeDefault, kUserNameVariant, kUnicodeUTF8Format);
  if (TECCreateConverter(&converter, GetApplicationTextEncoding(), utf8) != noErr) return "";
  // Three bytes of UTF-8 at most for each byte of an 8-bit encoding.
  std::string converted(3 * name.size(), '\0');
  ByteCount read = 0, written = 0;
  const OSStatus status =
      TECConvertText(converter, reinterpret_cast<ConstTextPtr>(name.data()), name.size(), &read,
                     reinterpret_cast<TextPtr>(&converted[0]), converted.size(), &written);
  TECDisposeConverter(converter);
  if (status != noErr || read != name.size()) return "";
  converted.resize(written);
  return converted;
}

}  // namespace

OSStatus ZPXJobNoteList::outInjectionData(ZPXJobTicket* jobTicket, PMPrintSession session) {
  gZPXPPD = mDocument;
  if (jobTicket == nullptr || !jobTicket->IsValid()) return paramErr;
  OSStatus status = WriteLayoutComments(*jobTicket, session);
  DirectoryAccount account;
  for (LinkElementDualIterator position(*this); status == noErr && *position != nullptr; ++position)
    status = WriteNote(*NoteAt(position), *jobTicket, account);
  gUserAuthNameWasInited = false;
  return status;
}

// Without the page format's orientation nothing is written here; the notes
// still are.
OSStatus ZPXJobNoteList::WriteLayoutComments(ZPXJobTicket& jobTicket, PMPrintSession session) {
  SInt32 orientation = 0;
  if (GetTicketNumber(session, kPDE_PMPageFormatRef, kPMOrientationKey, orientation) != noErr)
    return noErr;
  mPageOrientation = orientation;
  SInt32 rows = 0, columns = 0;
  if (GetTicketNumber(session, kPDE_PMPrintSettingsRef, kPMLayoutRowsKey, rows) == noErr &&
      GetTicketNumber(session, kPDE_PMPrintSettingsRef, kPMLayoutColumnsKey, columns) == noErr) {
    mPageOrientation = TurnedForLayout(mPageOrientation, (long long)rows * columns);
    const OSStatus status =
        AddText(jobTicket, kPSInjectionSiteHeaderComments, "%%MacCoreNUp: true\n");
    if (status != noErr) return status;
  }
  return AddText(
      jobTicket, kPSInjectionSiteHeaderComments,
      IsPortrait(mPageOrientation) ? "%%Orientation: Portrait\n" : "%%Orientation: Landscape\n");
}

OSStatus ZPXJobNoteList::WriteNote(ZPXJobNote& note, ZPXJobTicket& jobTicket,
                                   DirectoryAccount& account) {
  short index = -1;
  const bool special = note.specialKeyword(&index);
  if (note.getUserData(nullptr) == 0 && index != kUserAuthNameRow && index != kUserAuthPasswordRow)
    return noErr;
  NoteOutput output;
  if (special) {
    output = CommentLine(note, index, account);
    const OSStatus status = AddText(jobTicket, kPSInjectionSiteJobNoteComments, output.line);
    if (status != noErr) return status;
  }
  return output.featureCode ? AddFeatureCode(note, jobTicket) : noErr;
}

ZPXJobNoteList::NoteOutput ZPXJobNoteList::CommentLine(ZPXJobNote& note, short index,
                                                       DirectoryAccount& account) {
  char text[kNoteTextSize] = "";
  const char* notes = note.Control()->GetNotes();
  if (notes != nullptr) std::strncpy(text, notes, sizeof text - 1);
  const std::string prefix = gKeywordMap[index].prefix;
  if (text[0] != '\0' && note.Control()->IsEncrypt() && index != kUserAuthPasswordRow) {
    char hex[ZPXJobNote::kEncryptedTextSize];
    // A note too long to encrypt is not sent at all, neither line nor code.
    if (!note.encryptNote(nullptr, text, hex)) return NoteOutput{"", false};
    return NoteOutput{prefix + hex + "\n"};
  }
  if (index == kUserAuthNameRow) return UserNameOutput(note, text, account);
  if (index == kUserAuthPasswordRow) return PasswordOutput(prefix, text, account);
  return NoteOutput{prefix + text + "\n"};
}

// The name itself goes into the record with the password, not into a line.
ZPXJobNoteList::NoteOutput ZPXJobNoteList::UserNameOutput(ZPXJobNote& note, const char* text,
                                                          DirectoryAccount& account) {
  if (!SpecialOptionIs(mDocument, "*ZPXAuthenticateWithLDAP", "True")) return NoteOutput{};
  const std::string escaped = EscapedUserName(text);
  note.Control()->SetNotes(escaped.c_str());
  account.userName = UTF8UserName(escaped);
  account.active = true;
  return NoteOutput{"", SpecialOptionIs(mDocument, "*CopierUserAuth", "True")};
}

ZPXJobNoteList::NoteOutput ZPXJobNoteList::PasswordOutput(const std::string& prefix,
                                                          const char* password,
                                                          const DirectoryAccount& account) {
  // Without directory authentication the line is the bare prefix, no line end.
  if (!account.active) return NoteOutput{prefix, false};
  NoteOutput output{prefix, SpecialOptionIs(mDocument, "*CopierUserAuth", "True")};
  char* record = nullptr;
  // When no record can be made the prefix stands alone: the password is
  // never sent in its place.
  if (mPackUserAuth(account.userName.c_str(), password, "", kUALDomainDirectory, 0, &record) == 0)
    output.line += record;
  output.line += "\n";
  AUTH_freeBuffer(&record);
  return output;
}

// A protected note's code carries its encrypted text in place of the plain
// one; a note whose text cannot be encrypted has no code.
OSStatus ZPXJobNoteList::AddFeatureCode(ZPXJobNote& note, ZPXJobTicket& jobTicket) {
  PPDXJobNote* control = note.Control();
  const bool encrypted = control->IsEncrypt();
  char hex[ZPXJobNote::kEncryptedTextSize] = "";
  if (encrypted && !note.encryptNote(nullptr, control->GetNotes(), hex)) return noErr;
  auto codeOf = [&](unsigned char* out) {
    return encrypted ? control->PostScriptWithEncryptedText(hex, out) : control->PostScript(out);
  };
  // Measured with the encrypted text, which is longer than the plain one.
  const long length = codeOf(nullptr);
  unsigned char local[kLocalFeatureCodeSize];
  std::unique_ptr<unsigned char[]> allocated;
  unsigned char* code = local;
  if (length > kLocalFeatureCodeSize) {
    allocated.reset(new (std::nothrow) unsigned char[size_t(length)]);
    if (!allocated) return memFullErr;
    code = allocated.get();
  }
  if (length > 0) codeOf(code);
  return jobTicket.Add(kPSInjectionSiteFeatureCode, code, length) ? noErr : jobTicket.LastStatus();
}

OSStatus ZPXJobNoteList::AddText(ZPXJobTicket& jobTicket, PostScriptInjectionSite site,
                                 const std::string& text) {
  return jobTicket.Add(site, text.data(), long(text.size())) ? noErr : jobTicket.LastStatus();
}
