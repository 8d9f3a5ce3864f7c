#pragma once
// Tests that change the job-note output's process-wide state (the current
// document and the user-name flag) derive from this fixture, which puts the
// state back after each test.

#include <gtest/gtest.h>

#include "security/ZPXJobNote.h"

class JobNoteGlobalsTest : public ::testing::Test {
 protected:
  void TearDown() override {
    gZPXPPD = mSavedDocument;
    gUserAuthNameWasInited = mSavedUserNameFlag;
  }

 private:
  ZPXPPD* mSavedDocument = gZPXPPD;
  bool mSavedUserNameFlag = gUserAuthNameWasInited;
};
