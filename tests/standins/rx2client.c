/* A stand-in of the workflow server's client library for the upload tests.
   It serves one account ("operator" with the password "secret" on any
   address), hands out job ids "JOB-1", "JOB-2", ... and records every call it
   receives, one line each, which the tests read with RXStandInCalls. */

#include <stdio.h>
#include <string.h>

#define kCallsSize 8192

static char sCalls[kCallsSize];
static int sSession;
static int sJobs;

static void Record(const char* line) {
  size_t used = strlen(sCalls);
  snprintf(sCalls + used, sizeof sCalls - used, "%s\n", line);
}

const char* RXStandInCalls(void) { return sCalls; }

void RXStandInReset(void) {
  sCalls[0] = '\0';
  sJobs = 0;
}

int RXOpenSession(const char* address, const char* user, const char* password, const char* language,
                  void** session, int options) {
  char line[1024];
  snprintf(line, sizeof line, "RXOpenSession %s|%s|%s|%s|%d", address, user, password, language,
           options);
  Record(line);
  if (strcmp(user, "operator") != 0 || strcmp(password, "secret") != 0) return -1;
  *session = &sSession;
  return 0;
}

int RXCreateNewJobEx(void* session, const char* folder, const char* jobName, const char* xmlPath,
                     char* jobID) {
  char line[1024];
  snprintf(line, sizeof line, "RXCreateNewJobEx %s|%s|%s|%s", session == &sSession ? "open" : "?",
           folder, jobName, xmlPath);
  Record(line);
  snprintf(jobID, 256, "JOB-%d", ++sJobs);
  return 0;
}

int RXCloseSession(void* session) {
  Record(session == &sSession ? "RXCloseSession open" : "RXCloseSession ?");
  return 0;
}
