// Child-slot declarations of the command template, checked in the records
// the host received.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/kestrine/ChannelKinds.h"
#include "tests/command_channel/TestCommand.h"

namespace {

using Event = Vel_Channel::SlotEvent;

// The declarations the host received since the log was last cleared.
std::vector<Event> Declarations(const TestCommand& command) {
  std::vector<Event> out;
  for (const Event& e : command.GetSlotEventLog()) {
    if (e.kind == Event::kCreateType) out.push_back(e);
  }
  return out;
}

std::string Guid(const _GUID& g) {
  char text[40];
  std::snprintf(text, sizeof text, "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                g.Data1, g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3],
                g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
  return text;
}

class ChildLinks : public ::testing::Test {
 protected:
  void SetUp() override { command.ClearSlotEventLog(); }
  TestCommand command;
  ChildCreation creation;
  unsigned int index = 0;
};

TEST_F(ChildLinks, EachTypedDeclarationSendsItsKindAndAdvancesTheIndex) {
  using Declare = void (TestCommand::*)(unsigned int&, ChildCreation*, const char*, int, int, int);
  struct Case {
    Declare declare;
    const char* guid;
    const char* typeName;
  };
  const Case cases[] = {
      {&TestCommand::CCI_CreateGenericChildLink, "11111111-1111-1111-1111-111111111111",
       "all types are accepted"},
      {&TestCommand::CCI_CreateValueChildLink, "BE69CCC4-CFC1-4362-AC81-767D199BBFC3", "Value"},
      {&TestCommand::CCI_CreateVectorChildLink, "9D045960-EAC2-4C40-9BBF-10F32F7FA305",
       "Value Vector"},
      {&TestCommand::CCI_CreateStringChildLink, "6E6FB247-4627-4FBE-8973-48344F23881E", "Text"},
      {&TestCommand::CCI_CreateMatrixChildLink, "2F605354-314D-4775-86E4-1F733550B227",
       "Matrix"},
  };
  for (const Case& c : cases) {
    (command.*c.declare)(index, &creation, "Slot", 1, 1, 0);
  }
  EXPECT_EQ(index, 5u);
  const std::vector<Event> sent = Declarations(command);
  ASSERT_EQ(sent.size(), 5u);
  for (int i = 0; i < 5; ++i) {
    const ChildCreation& r = sent[i].record;
    EXPECT_EQ(sent[i].argument, i);
    EXPECT_EQ(r.slotIndex, i);
    EXPECT_EQ(Guid(r.type.typeGuid), cases[i].guid);
    EXPECT_STREQ(r.type.typeName, cases[i].typeName);
    EXPECT_EQ(Guid(r.type.secondGuid), "11111111-1111-1111-1111-111111111111");
    EXPECT_STREQ(r.childName, "Slot");
    EXPECT_EQ(r.linkFlag, 1);
    EXPECT_EQ(r.hasExistingLink, 0);
    EXPECT_EQ(r.creationOption, 1);
  }
}

TEST_F(ChildLinks, TheHostReceivesExactlyTheFilledRecord) {
  command.CCI_CreateVectorChildLink(index, &creation, "Where", 1, 0x1FF, 0);
  const std::vector<Event> sent = Declarations(command);
  ASSERT_EQ(sent.size(), 1u);
  ChildCreation expected;
  expected.type.typeGuid = kestrine::kValueVectorGuid;
  std::strcpy(expected.type.typeName, "Value Vector");
  expected.slotIndex = 0;
  std::strcpy(expected.childName, "Where");
  expected.linkFlag = 0xFF;  // the low byte of the flag
  // Byte for byte up to the end of the pointer-independent part.
  EXPECT_EQ(std::memcmp(&sent[0].record, &expected, offsetof(ChildCreation, existingLink)), 0);
  EXPECT_EQ(sent[0].record.existingLink, nullptr);
  EXPECT_EQ(sent[0].record.creationOption, 1);
}

TEST_F(ChildLinks, ANullRecordSendsNothingAndKeepsTheIndex) {
  command.CCI_CreateValueChildLink(index, nullptr, "Amount", 1, 1, 0);
  EXPECT_EQ(index, 0u);
  EXPECT_TRUE(Declarations(command).empty());
}

TEST_F(ChildLinks, ANullTypeNameWritesOnlyTheGuid) {
  command.CCI_CreateChildLink(kestrine::kMatrixGuid, nullptr, index, &creation, "Pose", 1, 1, 0);
  EXPECT_EQ(index, 0u);
  EXPECT_TRUE(Declarations(command).empty());
  EXPECT_EQ(Guid(creation.type.typeGuid), "2F605354-314D-4775-86E4-1F733550B227");
  EXPECT_STREQ(creation.childName, "");
  EXPECT_EQ(creation.slotIndex, -1);
}

TEST_F(ChildLinks, WithoutAutoIncrementTheNextDeclarationReusesTheIndex) {
  command.CCI_CreateValueChildLink(index, &creation, "First", 0, 1, 0);
  command.CCI_CreateValueChildLink(index, &creation, "Second", 1, 1, 0);
  const std::vector<Event> sent = Declarations(command);
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].argument, 0);
  EXPECT_EQ(sent[1].argument, 0);
  EXPECT_EQ(index, 1u);
  EXPECT_STREQ(command.GetDeclaredSlot(0)->childName, "Second");
}

TEST_F(ChildLinks, AnUnindexedSlotRecordsMinusOneButTheHostGetsTheRunningIndex) {
  index = 3;
  command.CCI_CreateValueChildLink(index, &creation, "Loose", 1, 1, 1);
  const std::vector<Event> sent = Declarations(command);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].record.slotIndex, -1);
  EXPECT_EQ(sent[0].argument, 3);
  EXPECT_EQ(index, 4u);
}

TEST_F(ChildLinks, ANullChildNameDeclaresTheRecordsEarlierName) {
  command.CCI_CreateValueChildLink(index, &creation, "Kept", 1, 1, 0);
  command.CCI_CreateVectorChildLink(index, &creation, nullptr, 1, 1, 0);
  EXPECT_STREQ(Declarations(command)[1].record.childName, "Kept");
}

TEST_F(ChildLinks, OverLongNamesAreCutToTheirFields) {
  const std::string typeName(200, 't');
  const std::string childName(200, 'c');
  command.CCI_CreateChildLink(kestrine::kValueGuid, typeName.c_str(), index, &creation,
                              childName.c_str(), 1, 1, 0);
  const std::vector<Event> sent = Declarations(command);
  const ChildCreation& r = sent[0].record;
  EXPECT_EQ(std::string(r.type.typeName), typeName.substr(0, 79));
  EXPECT_EQ(std::string(r.childName), childName.substr(0, 99));
  // The fields after the names were not touched.
  EXPECT_EQ(Guid(r.type.typeGuid), "BE69CCC4-CFC1-4362-AC81-767D199BBFC3");
  EXPECT_EQ(r.slotIndex, 0);
}

TEST_F(ChildLinks, AShorterNameLeavesNothingOfALongerOneInTheSharedRecord) {
  command.CCI_CreateVectorChildLink(index, &creation, "A long child name", 1, 1, 0);
  command.CCI_CreateValueChildLink(index, &creation, "Short", 1, 1, 0);
  const std::vector<Event> sent = Declarations(command);
  const ChildCreation& r = sent[1].record;
  for (std::size_t i = std::strlen("Value"); i < sizeof r.type.typeName; ++i) {
    ASSERT_EQ(r.type.typeName[i], 0) << i;
  }
  for (std::size_t i = std::strlen("Short"); i < sizeof r.childName; ++i) {
    ASSERT_EQ(r.childName[i], 0) << i;
  }
}

TEST_F(ChildLinks, SlotsAt64AndAboveNeverTakeOverALink) {
  ChildInfo fake;  // stands for a link recorded at a load
  for (ChildInfo*& link : command.childInfos) link = &fake;
  index = 63;
  command.CCI_CreateValueChildLink(index, &creation, "Last", 1, 1, 0);
  command.CCI_CreateValueChildLink(index, &creation, "Beyond", 1, 1, 0);
  const std::vector<Event> sent = Declarations(command);
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].record.hasExistingLink, 1);
  EXPECT_EQ(sent[0].record.existingLink, &fake);
  EXPECT_EQ(sent[1].argument, 64);
  EXPECT_EQ(sent[1].record.hasExistingLink, 0);
  // The earlier link is still in the shared record; the flag says it is not this one's.
  EXPECT_EQ(sent[1].record.existingLink, &fake);
  EXPECT_EQ(command.GetChildInfo(63), nullptr);  // not ours: the host did not attach it
}

}  // namespace
