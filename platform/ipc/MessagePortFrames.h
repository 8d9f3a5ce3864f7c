#pragma once
// One request or reply on a port's connection, waited for up to a time-out:
// a frame (MessagePortTransfer) whose bytes start with a 4-byte message id in
// a request. Connections are accepted only from processes of this user.

#include <string>

#include "ipc/MessagePortTransfer.h"

// Whether the peer at the other end of a Unix-domain socket runs as this user.
bool PeerIsThisUser(int socket);
// A connected socket to the path; -1 when nobody serves it.
int ConnectToPort(const std::string& path);

FrameResult SendFrame(int socket, const std::string& bytes, double seconds);
FrameResult ReceiveFrame(int socket, std::string& bytes, double seconds);
