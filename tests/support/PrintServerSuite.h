#pragma once
// A test suite with a print server of its own: started once for the suite,
// the client library's server (CUPS_SERVER) while it runs, stopped at the end.
// A suite that adds queues calls SetUpTestSuite first and stops on its failure.

#include <gtest/gtest.h>
#include <stdlib.h>

#include "support/FileText.h"
#include "support/LocalPrintServer.h"

class PrintServerSuite : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    sServer = new LocalPrintServer();
    ASSERT_TRUE(sServer->IsRunning()) << FileText(sServer->ErrorLog());
    setenv("CUPS_SERVER", sServer->Address().c_str(), 1);
  }
  static void TearDownTestSuite() {
    delete sServer;
    sServer = nullptr;
    unsetenv("CUPS_SERVER");
  }

  static inline LocalPrintServer* sServer = nullptr;
};
