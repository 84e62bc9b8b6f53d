// A group of channels: creation from registered types, evaluation, and a
// project saved to a file and loaded back with its links.
#include <gtest/gtest.h>

#include <algorithm>
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

std::vector<unsigned char> AsBytes(const _GUID& guid) {
  const auto* p = reinterpret_cast<const unsigned char*>(&guid);
  return std::vector<unsigned char>(p, p + sizeof guid);
}

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

TEST_F(SavedProject, OnlyRegisteredTypesAreCreatedAndAFileThatDoesNotLoadWholeAddsNothing) {
  Vel_ChannelGroup valuesOnly;
  const auto factory = [] { return new Oru_FloatChannel; };
  ASSERT_TRUE(valuesOnly.RegisterType(kestrine::ValueChannelType(), factory));
  EXPECT_FALSE(valuesOnly.RegisterType(kestrine::ValueChannelType(), factory));  // once only
  EXPECT_EQ(valuesOnly.CreateChannel(kestrine::kValueListGuid), nullptr);
  EXPECT_FALSE(valuesOnly.LoadProjectFile(path));  // the lists' type is unknown here
  EXPECT_EQ(valuesOnly.GetChannelCount(), 0u);     // not even the value channel
  // Every truncation, and a header whose channel count is one too few (the
  // last channel's bytes left over) or one too many.
  std::vector<std::vector<unsigned char>> broken;
  for (std::size_t cut = 0; cut < bytes.size(); cut += 3) {
    broken.emplace_back(bytes.begin(), bytes.begin() + cut);
  }
  const std::size_t countAt = 5 + 4 + 4;  // "KPRJ\0", size, version
  for (unsigned char count : {2, 4}) {
    broken.push_back(bytes);
    broken.back()[countAt] = count;
  }
  for (const auto& file : broken) {
    Vel_ChannelGroup group;
    kestrine::RegisterStandardChannelTypes(group);
    group.CreateChannel(kestrine::kValueGuid);
    VelFileLoader loader(file);
    EXPECT_FALSE(group.LoadProject(loader)) << file.size();
    EXPECT_EQ(group.GetChannelCount(), 1u) << file.size();
  }
}

// The value list saved with its index link, loaded as a plain value channel
// (its type GUID replaced): the link names a slot the value never declared.
TEST_F(SavedProject, ALoadedLinkOnASlotTheChannelDidNotDeclareIsDetached) {
  std::vector<unsigned char> file = bytes;
  const std::vector<unsigned char> list = AsBytes(kestrine::kValueListGuid);
  const std::vector<unsigned char> value = AsBytes(kestrine::kValueGuid);
  const auto at = std::search(file.begin(), file.end(), list.begin(), list.end());
  ASSERT_NE(at, file.end());
  std::copy(value.begin(), value.end(), at);
  Vel_ChannelGroup group;
  kestrine::RegisterStandardChannelTypes(group);
  VelFileLoader loader(file);
  ASSERT_TRUE(group.LoadProject(loader));
  EXPECT_EQ(group.GetChannel(2)->GetChildInfo(0), nullptr);
  EXPECT_EQ(group.GetChannel(1)->GetChild(0), group.GetChannel(0));  // the other list keeps its own
}

// A 100,000-list chain (each list the index of the one before, a 6.5 MB
// project): saving and loading stay linear, the loaded head is read without
// overflowing the stack (picking element 0 beyond the depth bound), and the
// project saves back to the same bytes.
TEST(LargeProject, AChainOfIndexListsSavesLoadsAndReadsWithinItsBounds) {
  Vel_ChannelGroup group;
  kestrine::RegisterStandardChannelTypes(group);
  Vel_Channel* previous = nullptr;
  for (int i = 0; i < 100000; ++i) {
    auto* list = static_cast<Oru_FloatListChannel*>(group.CreateChannel(kestrine::kValueListGuid));
    list->SetElements({0.5f, 1.5f});
    if (previous != nullptr) {
      ASSERT_TRUE(previous->ConnectChild(0, list));
    }
    previous = list;
  }
  VelFileSaver saver;
  ASSERT_TRUE(group.SaveProject(saver));
  Vel_ChannelGroup loaded;
  kestrine::RegisterStandardChannelTypes(loaded);
  VelFileLoader loader(saver.Bytes());
  ASSERT_TRUE(loaded.LoadProject(loader));
  EXPECT_EQ(static_cast<Oru_FloatChannel*>(loaded.GetChannel(0))->GetFloat(), 0.5f);
  VelFileSaver again;
  ASSERT_TRUE(loaded.SaveProject(again));
  EXPECT_TRUE(again.Bytes() == saver.Bytes());
}

}  // namespace
