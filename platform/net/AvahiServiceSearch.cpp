#include "net/AvahiServiceSearch.h"

#include <cstring>

#include "net/AvahiNames.h"
#include "net/CFNetServices.h"

namespace {

std::string KeyOf(const NetServiceIdentity& service) {
  return service.name + '\0' + service.type + '\0' + service.domain;
}

}  // namespace

AvahiServiceSearch::AvahiServiceSearch(const NetServiceIdentity& what, NetServiceListener& listener)
    : mListener(listener) {
  if (mConnection.Client() != nullptr) {
    std::string type = AvahiNames::Type(what.type);
    mBrowser = avahi_service_browser_new(mConnection.Client(), AVAHI_IF_UNSPEC, AVAHI_PROTO_UNSPEC,
                                         type.c_str(), AvahiNames::Domain(what.domain),
                                         AvahiLookupFlags(0), OnBrowse, this);
  }
  if (mBrowser != nullptr)
    mConnection.Start();
  else
    Failed();
}

AvahiServiceSearch::~AvahiServiceSearch() {
  mConnection.Stop();
  if (mBrowser != nullptr) avahi_service_browser_free(mBrowser);
}

void AvahiServiceSearch::OnBrowse(AvahiServiceBrowser*, AvahiIfIndex, AvahiProtocol,
                                  AvahiBrowserEvent event, const char* name, const char* type,
                                  const char* domain, AvahiLookupResultFlags, void* search) {
  auto* self = static_cast<AvahiServiceSearch*>(search);
  if (event == AVAHI_BROWSER_FAILURE) return self->Failed();
  if (event != AVAHI_BROWSER_NEW && event != AVAHI_BROWSER_REMOVE) return;
  NetServiceIdentity service;
  if (!AvahiNames::Take(name, type, domain, service)) return;
  if (event == AVAHI_BROWSER_NEW)
    self->Seen(service);
  else
    self->Gone(service);
}

void AvahiServiceSearch::Seen(const NetServiceIdentity& service) {
  if (++mReports[KeyOf(service)] == 1) mListener.Deliver({service, false});
}

void AvahiServiceSearch::Failed() {
  NetServiceEvent failure;
  failure.error = kCFNetServicesErrorUnknown;
  mListener.Deliver(failure);
}

void AvahiServiceSearch::Gone(const NetServiceIdentity& service) {
  auto reports = mReports.find(KeyOf(service));
  if (reports == mReports.end() || --reports->second > 0) return;
  mReports.erase(reports);
  mListener.Deliver({service, true});
}
