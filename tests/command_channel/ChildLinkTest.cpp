// Child-slot declarations of the command template, checked in the records
// the host received.
#include <algorithm>
#include <iterator>

#include "host/kestrine/ChannelKinds.h"
#include "tests/command_channel/TestCommand.h"

namespace {

// The host's log holds only the declarations made by each test.
class ChildLinks : public ::testing::Test {
 protected:
  void SetUp() override { command.ClearSlotEventLog(); }
  const std::vector<Vel_Channel::SlotEvent>& Sent() const { return command.GetSlotEventLog(); }
  TestCommand command;
  ChildCreation creation;
  unsigned int index = 0;
};

TEST_F(ChildLinks, EachTypedDeclarationSendsItsKindAndAdvancesTheIndex) {
  using Declare = void (TestCommand::*)(unsigned int&, ChildCreation*, const char*, int, int, int);
  const struct {
    Declare declare;
    const char* typeName;
    _GUID guid;
  } cases[] = {
      {&TestCommand::CCI_CreateGenericChildLink, "all types are accepted",
       {0x11111111, 0x1111, 0x1111, {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11}}},
      {&TestCommand::CCI_CreateValueChildLink, "Value",
       {0xBE69CCC4, 0xCFC1, 0x4362, {0xAC, 0x81, 0x76, 0x7D, 0x19, 0x9B, 0xBF, 0xC3}}},
      {&TestCommand::CCI_CreateVectorChildLink, "Value Vector",
       {0x9D045960, 0xEAC2, 0x4C40, {0x9B, 0xBF, 0x10, 0xF3, 0x2F, 0x7F, 0xA3, 0x05}}},
      {&TestCommand::CCI_CreateStringChildLink, "Text",
       {0x6E6FB247, 0x4627, 0x4FBE, {0x89, 0x73, 0x48, 0x34, 0x4F, 0x23, 0x88, 0x1E}}},
      {&TestCommand::CCI_CreateMatrixChildLink, "Matrix",
       {0x2F605354, 0x314D, 0x4775, {0x86, 0xE4, 0x1F, 0x73, 0x35, 0x50, 0xB2, 0x27}}},
  };
  for (const auto& c : cases) (command.*c.declare)(index, &creation, "Slot", 1, 0x1FF, 0);
  EXPECT_EQ(index, 5u);
  const auto& sent = Sent();
  ASSERT_EQ(sent.size(), 5u);
  for (int i = 0; i < 5; ++i) {
    const ChildCreation& r = sent[i].record;
    EXPECT_EQ(sent[i].argument, i);
    EXPECT_EQ(r.slotIndex, i);
    EXPECT_TRUE(GuidsEqual(r.type.typeGuid, cases[i].guid)) << i;
    EXPECT_STREQ(r.type.typeName, cases[i].typeName);
    EXPECT_TRUE(GuidsEqual(r.type.secondGuid, cases[0].guid));
    EXPECT_EQ(r.linkFlag, 0xFF);  // the flag's low byte
  }
}

TEST_F(ChildLinks, TheIndexAndTheRecordFollowTheFlagsAndNullArgumentsDeclareNothing) {
  command.CCI_CreateValueChildLink(index, nullptr, "Amount", 1, 1, 0);
  command.CCI_CreateChildLink(kestrine::kMatrixGuid, nullptr, index, &creation, "Pose", 1, 1, 0);
  EXPECT_TRUE(Sent().empty());
  EXPECT_TRUE(GuidsEqual(creation.type.typeGuid, kestrine::kMatrixGuid));  // before the check
  command.CCI_CreateValueChildLink(index, &creation, "First", 0, 1, 0);    // no auto-increment
  command.CCI_CreateValueChildLink(index, &creation, "Second", 1, 1, 0);
  command.CCI_CreateValueChildLink(index, &creation, nullptr, 1, 1, 1);    // unindexed, no name
  const auto& sent = Sent();
  ASSERT_EQ(sent.size(), 3u);
  const int hostIndex[] = {0, 0, 1}, slotIndex[] = {0, 0, -1};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(sent[i].argument, hostIndex[i]) << i;
    EXPECT_EQ(sent[i].record.slotIndex, slotIndex[i]) << i;
  }
  EXPECT_STREQ(sent[2].record.childName, "Second");  // the record's earlier name
  EXPECT_EQ(index, 2u);
}

TEST_F(ChildLinks, NamesAreCutToTheirFieldsAndLeaveNothingBehindInTheSharedRecord) {
  const std::string typeName(200, 't'), childName(200, 'c');
  command.CCI_CreateChildLink(kestrine::kValueGuid, typeName.c_str(), index, &creation,
                              childName.c_str(), 1, 1, 0);
  command.CCI_CreateValueChildLink(index, &creation, "Short", 1, 1, 0);
  const auto& sent = Sent();
  EXPECT_EQ(std::string(sent[0].record.type.typeName), typeName.substr(0, 79));
  EXPECT_EQ(std::string(sent[0].record.childName), childName.substr(0, 99));
  EXPECT_EQ(sent[0].record.slotIndex, 0);
  const ChildCreation& r = sent[1].record;  // zeros after "Value" and "Short"
  EXPECT_EQ(std::count(r.type.typeName, std::end(r.type.typeName), '\0'), 80 - 5);
  EXPECT_EQ(std::count(r.childName, std::end(r.childName), '\0'), 100 - 5);
}

TEST_F(ChildLinks, SlotsAt64AndAboveNeverTakeOverALink) {
  ChildInfo fake;  // stands for a link recorded at a load
  for (ChildInfo*& link : command.childInfos) link = &fake;
  index = 63;
  command.CCI_CreateValueChildLink(index, &creation, "Last", 1, 1, 0);
  command.CCI_CreateValueChildLink(index, &creation, "Beyond", 1, 1, 0);
  const auto& sent = Sent();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].record.hasExistingLink, 1);
  EXPECT_EQ(sent[0].record.existingLink, &fake);
  EXPECT_EQ(sent[1].argument, 64);
  EXPECT_EQ(sent[1].record.hasExistingLink, 0);  // the old pointer stays, flagged as not this one's
}

}  // namespace
