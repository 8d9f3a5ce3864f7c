#pragma once
// The job notes of a document, one ZPXJobNote per job-note control in the
// collection's order, built for one output run, and that run: the blocks the
// job's notes put into the job ticket.

#include <string>

#include "PPDX/PPDObjects/Controls/PPDXUserAuthLib.h"
#include "comm/PtrLinkList.h"
#include "print/PMPrintSession.h"
#include "print/PostScriptInjectionSite.h"
#include "security/ZPXJobNote.h"

class ZPXJobTicket;
class ZPXPPD;

class ZPXJobNoteList : public PtrLinkList {
 public:
  // The system builds it with keepNotesOn false (see ZPXJobNote). When a
  // note cannot be allocated the walk stops there, Error() is -108 and the
  // list is not valid.
  ZPXJobNoteList(ZPXPPD* document, bool keepNotesOn);
  ~ZPXJobNoteList() override;

  // The note whose control has exactly that keyword, or null.
  ZPXJobNote* find(const char* keyword) const;
  // How many notes are password fields.
  long countProtectedFields() const;

  // Adds to the job ticket: the orientation and N-up comments of the page
  // format and print settings (site 504), a comment line per note the
  // controller reads from the job's head (site 30), and each note's feature
  // code with protected text encrypted (site 81). Directory authentication
  // ("*ZPXAuthenticateWithLDAP" True) rewrites and packs the user's name and
  // password into one record. A note whose encrypted text does not fit is
  // left out entirely. Makes the document current for encryptNote and clears
  // gUserAuthNameWasInited at the end. Returns 0; paramErr without a valid job
  // ticket; memFullErr, or the ticket's status, when a block cannot be added,
  // which ends the run.
  OSStatus outInjectionData(ZPXJobTicket* jobTicket, PMPrintSession session);

  // The packer of the user-authentication record, AUTH_packAndEncrypt unless
  // a test puts another in its place.
  using UserAuthPacker = int (*)(const char* user, const char* password, const char* domain,
                                 UAL_DomainType type, int unused, char** out);
  void SetUserAuthPacker(UserAuthPacker packer) { mPackUserAuth = packer; }

  short Error() const { return mError; }
  ZPXPPD* Document() const { return mDocument; }
  // The platform's orientation number (1 portrait, 2 landscape, 3 reverse
  // portrait, 4 reverse landscape) once the output has read it; 0 before.
  long PageOrientation() const { return mPageOrientation; }

 private:
  // What one note puts into the job: its comment line (nothing when empty)
  // and whether its feature code follows.
  struct NoteOutput {
    std::string line;
    bool featureCode = true;
  };
  // The user's directory account once its name note was seen.
  struct DirectoryAccount {
    bool active = false;
    std::string userName;
  };

  static ZPXJobNote* NoteAt(const LinkElementDualIterator& position) {
    return static_cast<ZPXJobNote*>(*position);
  }

  OSStatus WriteLayoutComments(ZPXJobTicket& jobTicket, PMPrintSession session);
  OSStatus WriteNote(ZPXJobNote& note, ZPXJobTicket& jobTicket, DirectoryAccount& account);
  NoteOutput CommentLine(ZPXJobNote& note, short index, DirectoryAccount& account);
  NoteOutput UserNameOutput(ZPXJobNote& note, const char* text, DirectoryAccount& account);
  NoteOutput PasswordOutput(const std::string& prefix, const char* password,
                            const DirectoryAccount& account);
  static OSStatus AddFeatureCode(ZPXJobNote& note, ZPXJobTicket& jobTicket);
  static OSStatus AddText(ZPXJobTicket& jobTicket, PostScriptInjectionSite site,
                          const std::string& text);

  short mError;
  ZPXPPD* mDocument;
  long mPageOrientation;
  UserAuthPacker mPackUserAuth = AUTH_packAndEncrypt;
};
