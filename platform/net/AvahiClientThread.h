#pragma once
// A connection to the DNS-SD daemon (avahi-daemon) with the thread that
// serves it. Without a daemon there is no connection; that is said once per
// process on standard error and browsing simply finds nothing.

struct AvahiClient;
struct AvahiThreadedPoll;

class AvahiClientThread {
 public:
  AvahiClientThread();
  // Stops the thread, then frees the connection: no callback runs afterwards.
  ~AvahiClientThread();
  AvahiClientThread(const AvahiClientThread&) = delete;
  AvahiClientThread& operator=(const AvahiClientThread&) = delete;

  // Null when the daemon could not be reached.
  AvahiClient* Client() const { return mClient; }
  // Starts serving the browsers and resolvers made on the client so far.
  void Start();
  // Stops the thread early, so that objects made on the client can be freed.
  void Stop();

 private:
  AvahiThreadedPoll* mPoll = nullptr;
  AvahiClient* mClient = nullptr;
  bool mRunning = false;
};
