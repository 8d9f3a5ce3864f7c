#pragma once
// The print settings ticket of a session: the user's choices.

#include "output/JobTicket.h"

class PrintSettingsTicket : public JobTicket {
 public:
  // Valid when the session keeps a print settings ticket.
  explicit PrintSettingsTicket(PMPrintSession session);
};
