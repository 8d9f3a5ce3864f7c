#pragma once
// One ticket of the print system with typed reads and writes. Every operation
// keeps the platform status it got as the last status and returns it; without
// a ticket every read and write answers kPMInvalidTicket (-30891).

#include "cf/CoreFoundation.h"
#include "print/PMPrintSession.h"

class JobTicket {
 public:
  // A new ticket of the type, released with this object; valid when it was made.
  explicit JobTicket(CFStringRef ticketType);
  // The session's print settings ticket, borrowed from the session.
  explicit JobTicket(PMPrintSession session);
  virtual ~JobTicket();
  JobTicket(const JobTicket&) = delete;
  JobTicket& operator=(const JobTicket&) = delete;

  // A number that the session keeps under the key; kPMInvalidPrintSettings
  // (-30875) when there is none or it is 0, kPMInvalidValue when the datum is
  // not a number.
  OSStatus Get(CFStringRef key, long& value);
  // Top-level items of the ticket, borrowed from it; cleared first.
  OSStatus Get(CFStringRef key, CFDataRef& value);
  OSStatus Get(CFStringRef key, CFStringRef& value);
  OSStatus Get(CFStringRef key, CFDictionaryRef& value);
  OSStatus GetInt(CFStringRef key, long& value);

  // Items written with the client id as creator.
  OSStatus Set(CFStringRef clientID, CFStringRef key, CFArrayRef value, bool locked);
  OSStatus Set(CFStringRef clientID, CFStringRef key, CFStringRef value, bool locked);
  OSStatus Set(CFStringRef clientID, CFStringRef key, CFDataRef value, bool locked);
  OSStatus Set(CFStringRef clientID, CFStringRef key, CFDictionaryRef value, bool locked);
  OSStatus Set(CFStringRef clientID, CFStringRef key, long value, bool locked);
  OSStatus Release(CFStringRef key);

  PMPrintSession Session() const { return mSession; }
  PMTicketRef Ticket() const { return mTicket; }
  OSStatus LastStatus() const { return mLastStatus; }
  bool IsValid() const { return mValid; }

 protected:
  // No session and no ticket: for tickets that store through another.
  JobTicket();
  // Takes the ticket that the session keeps under the name; true when there
  // is one.
  bool BindSessionTicket(CFStringRef name);
  OSStatus Result(OSStatus status) { return mLastStatus = status; }

  PMPrintSession mSession = nullptr;
  PMTicketRef mTicket = nullptr;
  bool mOwnsTicket = false;
  OSStatus mLastStatus = noErr;
  bool mValid = false;
};
