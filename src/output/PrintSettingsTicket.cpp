#include "output/PrintSettingsTicket.h"

PrintSettingsTicket::PrintSettingsTicket(PMPrintSession session) : JobTicket(session) {
  mValid = BindSessionTicket(kPDE_PMPrintSettingsRef);
}
