// The workflow-server upload through the client library, against a stand-in
// of the library that records the calls it receives.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "output/PDEDataJob.h"

namespace {

class PDEDataUploadTest : public JobNoteGlobalsTest {
 protected:
  void SetUp() override {
    mJob.reset(new PDEDataJob());
    const std::string folder = mJob->Folder().Path() + "/support/lib";
    std::filesystem::create_directories(folder);
    mInstalled = folder + "/librx2client.dylib";
    std::filesystem::copy_file(ZPX_RX2CLIENT_STANDIN, mInstalled);
    // Held open by the test too, so that what it recorded outlives the
    // upload's own unloading.
    mLibrary = dlopen(mInstalled.c_str(), RTLD_NOW);
    ASSERT_NE(mLibrary, nullptr) << dlerror();
    mCalls = reinterpret_cast<const char* (*)()>(dlsym(mLibrary, "RXStandInCalls"));
    ASSERT_NE(mCalls, nullptr);

    mJob->Set("*ZPUserName", "operator");
    mJob->Set("*ZPUserPassword", "secret");
    mJob->Set("*ZPIP", "10.1.2.3");
    mJob->Set("*ZPWorkflowName", "Proofs");
    mJob->Set("*ZPWorkflowFolder", "Hot Folder");
    PMTicketRef settings = nullptr;
    MyGetTicket(mJob->Session(), kPDE_PMPrintSettingsRef, settings);
    PMTicketSetCFString(settings, CFSTR("test"), CFSTR("com.apple.print.JobInfo.PMJobName"),
                        CFSTR("Brochure \xC3\xA9t\xC3\xA9"), false);
  }
  void TearDown() override {
    if (mLibrary != nullptr) dlclose(mLibrary);
    mJob.reset();
    JobNoteGlobalsTest::TearDown();
  }

  std::string Calls() const { return mCalls(); }

  std::unique_ptr<PDEDataJob> mJob;
  std::string mInstalled;
  void* mLibrary = nullptr;
  const char* (*mCalls)() = nullptr;
};

}  // namespace

TEST_F(PDEDataUploadTest, TheOutputCreatesTheJobOnTheServerAndKeepsItsId) {
  mJob->Output();
  EXPECT_EQ(
      "RXOpenSession 10.1.2.3|operator|secret|english|0\n"
      "RXCreateNewJobEx open|Hot Folder|Brochure \xC3\xA9t\xC3\xA9|" +
          mJob->Folder().Path() +
          "/Proofs.xml\n"
          "RXCloseSession open\n",
      Calls());
  EXPECT_EQ("JOB-1", mJob->Current("*ZPRoutixJobId"));
  EXPECT_EQ("JOB-1", mJob->Current("*ZPRXNewJobID"));

  // The next job gets the next id.
  mJob->Output();
  EXPECT_EQ("JOB-2", mJob->Current("*ZPRoutixJobId"));
}

TEST_F(PDEDataUploadTest, OnlyTheNewJobModeCreatesAJob) {
  mJob->Data().UploadRoutixXMLFiles(1);
  EXPECT_EQ("RXOpenSession 10.1.2.3|operator|secret|english|0\nRXCloseSession open\n", Calls());
  EXPECT_EQ("", mJob->Current("*ZPRoutixJobId"));
}

TEST_F(PDEDataUploadTest, ARefusedSessionEndsTheUploadSilently) {
  mJob->Set("*ZPUserPassword", "wrong");
  mJob->Output();
  EXPECT_EQ("RXOpenSession 10.1.2.3|operator|wrong|english|0\n", Calls());
  EXPECT_EQ("", mJob->Current("*ZPRoutixJobId"));
}

TEST_F(PDEDataUploadTest, NothingIsCalledWithoutTheServerOptionsOrTheLibrary) {
  // A PPD with the upload switched on but no server address.
  std::unique_ptr<ZPXPPD> document = ParseText(
      "*PPD-Adobe: \"4.3\"\n*%ZPXSpecialOption *Durance: True\n"
      "*%ZPXJobNote *ZPUserName/User: 31\n*%ZPXJobNote *ZPUserPassword/Password: 31\n"
      "*%ZPXJobNote *ZPWorkflowName/Workflow: 31\n*%ZPXJobNote *ZPWorkflowFolder/Folder: 31\n");
  PDEData data(mJob->Session(), document.get(), nullptr);
  data.UploadRoutixXMLFiles(PDEData::kUploadNewJob);
  EXPECT_EQ("", Calls());

  // The library gone (and no longer loaded): the job is still written,
  // without an id.
  dlclose(mLibrary);
  mLibrary = nullptr;
  std::filesystem::remove(mInstalled);
  EXPECT_FALSE(mJob->Output().empty());
  EXPECT_EQ("", mJob->Current("*ZPRoutixJobId"));
}
