// A group of channels: creation from registered types, evaluation, and a
// project saved to a file and loaded back with its links.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "host/kestrine/ChannelKinds.h"
#include "host/kestrine/Oru_FloatChannel.h"
#include "host/kestrine/Oru_FloatListChannel.h"
#include "host/kestrine/Oru_VectorChannel.h"
#include "host/kestrine/Oru_VectorListChannel.h"
#include "host/kestrine/StandardChannelTypes.h"
#include "host/kestrine/VelFileLoader.h"
#include "host/kestrine/VelFileSaver.h"
#include "host/kestrine/Vel_ChannelGroup.h"

namespace {

// A channel that counts its evaluations and declares one "Value" slot.
class Probe : public Oru_FloatChannel {
 public:
  Probe() {
    ChildCreation creation;
    creation.type.typeGuid = kestrine::kValueGuid;
    SetChildCreateType(creation, 0);
  }
  void CallChannel() override { order.push_back(GetChannelName()); }
  void DoDependencyInit(Vel_List* list) override {
    AddChannelGuidDepend(kestrine::kValueVectorGuid, list);
  }
  static std::vector<std::string> order;
};
std::vector<std::string> Probe::order;

constexpr _GUID kProbeGuid = {0xABCDEF01, 0x2345, 0x6789, {1, 2, 3, 4, 5, 6, 7, 8}};

void Register(Vel_ChannelGroup& group, bool withProbe = true) {
  kestrine::RegisterStandardChannelTypes(group);
  if (!withProbe) return;
  ChannelType type;
  std::strcpy(type.typeName, "Probe");
  type.typeGuid = kProbeGuid;
  type.secondGuid = kestrine::kValueGuid;
  group.RegisterType(type, [] { return new Probe; });
}

TEST(ChannelGroup, CreatesRegisteredTypesOnlyAndRefusesDoubleRegistration) {
  Vel_ChannelGroup group;
  Register(group);
  EXPECT_FALSE(group.RegisterType(kestrine::ValueChannelType(), [] { return new Oru_FloatChannel; }));
  EXPECT_FALSE(group.RegisterType(ChannelType(), nullptr));
  EXPECT_EQ(group.CreateChannel(_GUID{}), nullptr);
  Vel_Channel* probe = group.CreateChannel(kProbeGuid);
  ASSERT_NE(probe, nullptr);
  EXPECT_STREQ(probe->GetChannelType()->typeName, "Probe");
  EXPECT_EQ(probe->GetChannelGroup(), &group);
  const Vel_List* dependencies = group.GetDependencies(probe);
  ASSERT_NE(dependencies, nullptr);
  EXPECT_TRUE(dependencies->Contains(kestrine::kValueVectorGuid));
}

TEST(ChannelGroup, EvaluatesEveryChannelInCreationOrderAndStampsIt) {
  Probe::order.clear();
  Vel_ChannelGroup group;
  Register(group);
  for (const char* name : {"first", "second", "third"}) {
    group.CreateChannel(kProbeGuid)->SetChannelName(name);
  }
  group.EvaluateAll();
  group.EvaluateAll();
  EXPECT_EQ(Probe::order,
            (std::vector<std::string>{"first", "second", "third", "first", "second", "third"}));
  EXPECT_EQ(group.FindChannel("third")->GetTimeStamp(), 2u);
}

TEST(ChannelGroup, AProjectRoundTripThroughAFileKeepsValuesListsAndLinks) {
  const std::string path = ::testing::TempDir() + "group_round_trip.kprj";
  {
    Vel_ChannelGroup group;
    Register(group);
    auto* probe = group.CreateChannel(kProbeGuid);
    auto* index = static_cast<Oru_FloatChannel*>(group.CreateChannel(kestrine::kValueGuid));
    auto* list = static_cast<Oru_VectorListChannel*>(
        group.CreateChannel(kestrine::kValueVectorListGuid));
    auto* vector = static_cast<Oru_VectorChannel*>(group.CreateChannel(kestrine::kValueVectorGuid));
    auto* values = static_cast<Oru_FloatListChannel*>(group.CreateChannel(kestrine::kValueListGuid));
    probe->SetChannelName("probe");
    index->SetChannelName("index");
    index->SetFloat(1.0f);
    list->SetElements({D3DXVECTOR3(1, 2, 3), D3DXVECTOR3(4, 5, 6)});
    vector->SetVector(D3DXVECTOR3(7, 8, 9));
    values->SetElements({0.5f, 1.5f});
    ASSERT_TRUE(list->ConnectChild(0, index));
    ASSERT_TRUE(values->ConnectChild(0, index));
    ASSERT_TRUE(probe->ConnectChild(0, values));
    ASSERT_TRUE(group.SaveProjectFile(path));
  }
  Vel_ChannelGroup group;
  Register(group);
  ASSERT_TRUE(group.LoadProjectFile(path));
  std::remove(path.c_str());
  ASSERT_EQ(group.GetChannelCount(), 5u);
  auto* probe = group.FindChannel("probe");
  auto* index = static_cast<Oru_FloatChannel*>(group.FindChannel("index"));
  auto* list = static_cast<Oru_VectorListChannel*>(group.GetChannel(2));
  auto* vector = static_cast<Oru_VectorChannel*>(group.GetChannel(3));
  auto* values = static_cast<Oru_FloatListChannel*>(group.GetChannel(4));
  ASSERT_TRUE(probe && index);
  EXPECT_EQ(index->GetFloat(), 1.0f);
  EXPECT_EQ(list->GetChild(0), index);
  EXPECT_EQ(list->GetVector().z, 6.0f);
  EXPECT_EQ(vector->GetVector().y, 8.0f);
  EXPECT_EQ(probe->GetChild(0), values);
  EXPECT_EQ(static_cast<Oru_FloatChannel*>(probe->GetChild(0))->GetFloat(), 1.5f);
}

TEST(ChannelGroup, UnknownTypesAndBrokenFilesLoadWhatTheyCanAndSaySo) {
  VelFileSaver saver;
  {
    Vel_ChannelGroup group;
    Register(group);
    Vel_Channel* probe = group.CreateChannel(kProbeGuid);
    Vel_Channel* value = group.CreateChannel(kestrine::kValueGuid);
    value->SetChannelName("kept");
    ASSERT_TRUE(probe->ConnectChild(0, group.CreateChannel(kestrine::kValueGuid)));
    ASSERT_TRUE(group.SaveProject(saver));
  }
  {
    Vel_ChannelGroup group;
    Register(group, /*withProbe=*/false);
    VelFileLoader loader(saver.Bytes());
    EXPECT_FALSE(group.LoadProject(loader));
    EXPECT_EQ(group.GetChannelCount(), 2u);
    EXPECT_NE(group.FindChannel("kept"), nullptr);
  }
  const std::vector<unsigned char>& whole = saver.Bytes();
  for (std::size_t cut = 0; cut < whole.size(); cut += 7) {
    Vel_ChannelGroup group;
    Register(group);
    VelFileLoader loader(std::vector<unsigned char>(whole.begin(), whole.begin() + cut));
    EXPECT_FALSE(group.LoadProject(loader)) << cut;
  }
}

}  // namespace
