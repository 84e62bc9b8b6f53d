// A group of channels: creation from registered types, evaluation, and a
// project saved to a file and loaded back with its links.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host/kestrine/ChannelKinds.h"
#include "host/kestrine/Oru_FloatListChannel.h"
#include "host/kestrine/Oru_VectorListChannel.h"
#include "host/kestrine/StandardChannelTypes.h"
#include "host/kestrine/VelFileLoader.h"
#include "host/kestrine/VelFileSaver.h"
#include "host/kestrine/Vel_ChannelGroup.h"

namespace {

// A project of a named index and two lists that it drives, saved to a file.
class SavedProject : public ::testing::Test {
 protected:
  void SetUp() override {
    Vel_ChannelGroup group;
    kestrine::RegisterStandardChannelTypes(group);
    auto* index = static_cast<Oru_FloatChannel*>(group.CreateChannel(kestrine::kValueGuid));
    index->SetChannelName("index");
    index->SetFloat(1.0f);
    auto* vectors = static_cast<Oru_VectorListChannel*>(
        group.CreateChannel(kestrine::kValueVectorListGuid));
    auto* values = static_cast<Oru_FloatListChannel*>(group.CreateChannel(kestrine::kValueListGuid));
    vectors->SetElements({D3DXVECTOR3(1, 2, 3), D3DXVECTOR3(4, 5, 6)});
    vectors->Oru_VectorChannel::SetVector(D3DXVECTOR3(7, 8, 9));  // its own vector value
    values->SetElements({0.5f, 1.5f});
    ASSERT_TRUE(vectors->ConnectChild(0, index) && values->ConnectChild(0, index));
    VelFileSaver saver;
    ASSERT_TRUE(group.SaveProject(saver) && saver.WriteToFile(path));
    bytes = saver.Bytes();
  }
  void TearDown() override { std::remove(path.c_str()); }
  // One file per test: ctest runs the tests of this fixture in parallel.
  const std::string path = ::testing::TempDir() + "group_round_trip_" +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".kprj";
  std::vector<unsigned char> bytes;  // what the file holds
};

TEST_F(SavedProject, LoadsBackFromTheFileWithNamesValuesListsAndLinks) {
  Vel_ChannelGroup group;
  kestrine::RegisterStandardChannelTypes(group);
  ASSERT_TRUE(group.LoadProjectFile(path));
  ASSERT_EQ(group.GetChannelCount(), 3u);
  auto* vectors = static_cast<Oru_VectorListChannel*>(group.GetChannel(1));
  auto* values = static_cast<Oru_FloatListChannel*>(group.GetChannel(2));
  EXPECT_STREQ(group.GetChannel(0)->GetChannelName(), "index");
  EXPECT_EQ(vectors->Oru_VectorChannel::GetVector().y, 8.0f);
  EXPECT_EQ(vectors->GetChild(0), group.GetChannel(0));
  EXPECT_EQ(values->GetChild(0), group.GetChannel(0));
  EXPECT_EQ(vectors->GetVector().z, 6.0f);  // element 1, picked by the loaded index
  EXPECT_EQ(values->GetFloat(), 1.5f);
}

TEST_F(SavedProject, OnlyRegisteredTypesAreCreatedAndBrokenFilesLoadWhatTheyCanAndSaySo) {
  Vel_ChannelGroup valuesOnly;
  const auto factory = [] { return new Oru_FloatChannel; };
  ASSERT_TRUE(valuesOnly.RegisterType(kestrine::ValueChannelType(), factory));
  EXPECT_FALSE(valuesOnly.RegisterType(kestrine::ValueChannelType(), factory));  // once only
  EXPECT_EQ(valuesOnly.CreateChannel(kestrine::kValueListGuid), nullptr);
  EXPECT_FALSE(valuesOnly.LoadProjectFile(path));
  ASSERT_EQ(valuesOnly.GetChannelCount(), 1u);
  EXPECT_STREQ(valuesOnly.GetChannel(0)->GetChannelName(), "index");
  for (std::size_t cut = 0; cut < bytes.size(); cut += 5) {
    Vel_ChannelGroup group;
    kestrine::RegisterStandardChannelTypes(group);
    VelFileLoader truncated(std::vector<unsigned char>(bytes.begin(), bytes.begin() + cut));
    EXPECT_FALSE(group.LoadProject(truncated)) << cut;
  }
}

}  // namespace
