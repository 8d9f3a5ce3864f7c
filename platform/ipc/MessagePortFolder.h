#pragma once
// Where the ports' sockets live: the user's port folder (PlatformPaths), made
// 0700 when missing. A folder that is a link, belongs to another user or is
// open to others would let them stand in for a port, so ports are then
// disabled, with one line on standard error.

#include <string>

// The socket path for the port name; false when ports are disabled or the name
// is not a plain file name that fits a socket address.
bool MessagePortSocketPath(const std::string& name, std::string& path);
