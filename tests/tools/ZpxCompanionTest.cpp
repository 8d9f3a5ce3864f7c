// The stand-in companion speaks the exchange from the application's side.
#include <gtest/gtest.h>
#include <signal.h>

#include <memory>
#include <string>

#include "support/CompanionRun.h"

namespace {

class ZpxCompanionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mId = SharedSegmentCreate(SharedMemoryList::kAreaSize);
    mBytes = static_cast<char*>(SharedSegmentAttachAndMark(mId));
    ASSERT_NE(nullptr, mBytes);
    mArea.reset(new SharedMemoryList(mBytes));
    mArea->Clear();
  }
  void TearDown() override {
    if (mChild > 0) ProcessReapWithin(mChild, 0);
    mArea.reset();
    SharedSegmentDetach(mBytes);
  }

  // Starts the companion and opens its main view over `entries`.
  CFMessagePortRef Open(const SDMPairs& entries) {
    SDMKeyValueList* list = SharedMemoryList::NewSDMList(entries);
    mArea->Create_SharedMemoryList_From_SDMList(*list);
    SharedMemoryList::FreeSDMList(list);
    mChild = ProcessSpawn(CompanionProgram(), {std::to_string(mId)});
    CFMessagePortRef port = nullptr;
    WaitFor([&] { return (port = RemotePort(mId)) != nullptr; }, 10);
    if (port == nullptr) return nullptr;
    mArea->WriteStatus(SharedMemoryList::kStatusWorking);
    EXPECT_EQ(kCFMessagePortSuccess, SendMessage(port, "jpOpenMainUI", false));
    return port;
  }

  int Status() {
    int status = 0;
    return mArea->ReadStatus(status) ? status : -99;
  }
  bool Returned() {
    return WaitFor([&] { return Status() != SharedMemoryList::kStatusWorking; }, 10);
  }
  // Asks the companion to unload and waits until it has ended.
  void Unload(CFMessagePortRef port) {
    EXPECT_EQ(kCFMessagePortSuccess, SendMessage(port, "jpUnload", true));
    EXPECT_TRUE(WaitFor([&] { return ProcessReap(mChild); }, 10));
    mChild = -1;
  }

  TempFolder mFolder;
  int mId = -1;
  char* mBytes = nullptr;
  std::unique_ptr<SharedMemoryList> mArea;
  pid_t mChild = -1;
};

}  // namespace

TEST_F(ZpxCompanionTest, ScenarioChangesEntriesWatermarksAndStatusThenUnloads) {
  CompanionEnvironment environment(mFolder,
                                   "# a user's choices\n"
                                   "set ZPDuplex=DuplexTumble\n"
                                   "set ZP_WATERMARK=2\n"
                                   "add RangeProp=1-3\n"
                                   "addmany 260 Chapters=5\n"
                                   "watermark 1,1,0,0,0,,0,,450,,,48,Helvetica,DRAFT\n"
                                   "watermark 2,2,0,0,0,,1,,0,,,36,Times,COPY\n");
  CFRef<CFMessagePortRef> port(Open({{L"ZPDuplex", L"None"}, {L"ZP_WATERMARK", L"0"}}));
  ASSERT_NE(nullptr, port.get());
  ASSERT_TRUE(Returned());
  EXPECT_EQ(0, Status());
  SDMKeyValueList* list = mArea->Create_SDMList_From_SharedMemoryList();
  ASSERT_NE(nullptr, list);
  const SDMPairs back = SharedMemoryList::PairsOf(*list);
  SharedMemoryList::FreeSDMList(list);
  ASSERT_EQ(263u, back.size()) << "two tables entries, one range and 260 chapters, past the tables";
  EXPECT_EQ(L"DuplexTumble", back[0].second);
  EXPECT_EQ(L"2", back[1].second);
  EXPECT_EQ(L"RangeProp", back[2].first);
  EXPECT_EQ(L"Chapters", back[262].first);
  EXPECT_EQ(2u, mArea->ReadWatermarkCount());
  EXPECT_EQ("2,2,0,0,0,,1,,0,,,36,Times,COPY", mArea->ReadWatermarkDefinition(1));

  Unload(port.get());
}

TEST_F(ZpxCompanionTest, StatusRawBytesAndQuittingUnanswered) {
  {
    CompanionEnvironment environment(mFolder, "status 4096\nset Ignored=1\n");
    CFRef<CFMessagePortRef> port(Open({{L"Kept", L"yes"}}));
    ASSERT_NE(nullptr, port.get());
    ASSERT_TRUE(Returned());
    EXPECT_EQ(4096, Status());
    EXPECT_EQ("4096", mArea->ReadField(SharedMemoryList::kStatusOffset, 6));
    EXPECT_EQ(1, mArea->ReadNumber(SharedMemoryList::kCountOffset, SharedMemoryList::kCountSize));
    Unload(port.get());
  }
  {
    // Raw bytes land after the entries: a count the pane must clamp.
    CompanionEnvironment environment(mFolder, "raw 115200 39393900\n");
    CFRef<CFMessagePortRef> port(Open({{L"A", L"1"}}));
    ASSERT_TRUE(Returned());
    EXPECT_EQ("999",
              mArea->ReadField(SharedMemoryList::kCountOffset, SharedMemoryList::kCountSize));
    Unload(port.get());
  }
  {
    CompanionEnvironment environment(mFolder, "delay 0.1\nexit\n");
    CFRef<CFMessagePortRef> port(Open({{L"A", L"1"}}));
    ASSERT_NE(nullptr, port.get());
    EXPECT_TRUE(WaitFor([&] { return ProcessReap(mChild); }, 10)) << "quits without answering";
    mChild = -1;
    EXPECT_EQ(SharedMemoryList::kStatusWorking, Status());
    EXPECT_EQ(nullptr, RemotePort(mId)) << "its port is gone with it";
  }
}

TEST_F(ZpxCompanionTest, WithoutAScenarioItLogsTheEntriesAndAnswersZero) {
  CompanionEnvironment environment(mFolder, "");
  CFRef<CFMessagePortRef> port(Open({{L"Caf\u00E9", L"\u20AC"}}));
  ASSERT_NE(nullptr, port.get());
  ASSERT_TRUE(Returned());
  EXPECT_EQ(0, Status());
  Unload(port.get());
}
