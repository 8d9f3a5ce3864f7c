#pragma once
// One request or reply on a port's connection: a 4-byte message id (requests
// only), a 4-byte length and at most kCFMessagePortMaxFrame bytes, all within
// a time-out. Connections are accepted only from processes of this user.

#include <cstdint>
#include <string>

enum class FrameResult { kDone, kTimedOut, kFailed };

// Whether the peer at the other end of a Unix-domain socket runs as this user.
bool PeerIsThisUser(int socket);
// A connected socket to the path; -1 when nobody serves it.
int ConnectToPort(const std::string& path);

FrameResult SendFrame(int socket, const std::string& bytes, double seconds);
FrameResult ReceiveFrame(int socket, std::string& bytes, double seconds);
