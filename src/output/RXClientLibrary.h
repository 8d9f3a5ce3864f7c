#pragma once
// The calls of the workflow server's client library that the dialog makes.
// The library is the server maker's, loaded at run time when it is installed;
// these are the shapes its functions are called with. Each returns 0 on
// success.

extern "C" {

typedef void* RXSessionRef;

// Opens a session on the server at `address` for the user; `session` is set
// when it opens.
typedef int (*RXOpenSessionProc)(const char* address, const char* userName, const char* password,
                                 const char* language, RXSessionRef* session, int options);
typedef int (*RXCloseSessionProc)(RXSessionRef session);
// Creates a job in the workflow folder from the job ticket's XML file; the new
// job's id is written into `jobID` (kRXJobIDSize bytes).
typedef int (*RXCreateNewJobExProc)(RXSessionRef session, const char* folder, const char* jobName,
                                    const char* xmlPath, char* jobID);
}

enum { kRXJobIDSize = 256 };
