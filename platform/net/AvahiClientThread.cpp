#include "net/AvahiClientThread.h"

#include <avahi-client/client.h>
#include <avahi-common/error.h>
#include <avahi-common/thread-watch.h>

#include <atomic>
#include <cstdio>

namespace {

// Said once per process, whether the daemon was never there or went away.
void ReportUnavailable(int error) {
  static std::atomic<bool> sReported{false};
  if (sReported.exchange(true)) return;
  std::fprintf(stderr,
               "network service browsing finds no printers: avahi-daemon cannot be reached (%s)\n",
               avahi_strerror(error));
}

void OnClientState(AvahiClient* client, AvahiClientState state, void*) {
  if (state == AVAHI_CLIENT_FAILURE) ReportUnavailable(avahi_client_errno(client));
}

}  // namespace

AvahiClientThread::AvahiClientThread() : mPoll(avahi_threaded_poll_new()) {
  if (mPoll == nullptr) return;
  int error = 0;
  mClient = avahi_client_new(avahi_threaded_poll_get(mPoll), AvahiClientFlags(0), OnClientState,
                             nullptr, &error);
  if (mClient == nullptr) ReportUnavailable(error);
}

AvahiClientThread::~AvahiClientThread() {
  Stop();
  if (mClient != nullptr) avahi_client_free(mClient);
  if (mPoll != nullptr) avahi_threaded_poll_free(mPoll);
}

void AvahiClientThread::Start() {
  if (mClient != nullptr && !mRunning) mRunning = avahi_threaded_poll_start(mPoll) == 0;
}

void AvahiClientThread::Stop() {
  if (mRunning) avahi_threaded_poll_stop(mPoll);
  mRunning = false;
}
