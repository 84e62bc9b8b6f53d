// The tagged-block encoding of saved projects.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host/kestrine/VelFileLoader.h"
#include "host/kestrine/VelFileSaver.h"

namespace {

TEST(FileBlocks, ABlockIsItsTagTheLittleEndianSizeAndTheData) {
  VelFileSaver saver;
  saver.SaveTag("AB");
  saver.SaveBlockSize(3);
  saver.SaveDataToFile("xyz", 3);
  const std::vector<unsigned char> expected = {'A', 'B', 0, 3, 0, 0, 0, 'x', 'y', 'z'};
  EXPECT_EQ(saver.Bytes(), expected);
}

TEST(FileBlocks, AReaderLearnsTheSizeBeforeCopyingAndMovesOn) {
  VelFileSaver saver;
  saver.SaveBlock("ONE", {1, 2, 3, 4, 5});
  saver.SaveBlock("TWO", {});
  VelFileLoader loader(saver.Bytes());
  EXPECT_FALSE(loader.GetInfoIfTag("TWO"));  // only the block at the cursor counts
  EXPECT_EQ(loader.GetTagDataSize(), 0u);
  ASSERT_TRUE(loader.GetInfoIfTag("ONE"));
  EXPECT_EQ(loader.GetTagDataSize(), 5u);
  unsigned char data[5] = {};
  ASSERT_TRUE(loader.CopyTagDataToPointer(data));
  EXPECT_EQ(data[4], 5);
  EXPECT_FALSE(loader.CopyTagDataToPointer(data));  // nothing pending any more
  ASSERT_TRUE(loader.GetInfoIfTag("TWO"));
  std::vector<unsigned char> empty;
  ASSERT_TRUE(loader.CopyTagData(&empty));
  EXPECT_TRUE(empty.empty());
  EXPECT_TRUE(loader.AtEnd());
}

TEST(FileBlocks, TruncatedOrMalformedBlocksAreNeverReported) {
  VelFileSaver saver;
  saver.SaveBlock("DATA", std::vector<unsigned char>(10, 7));
  const std::vector<unsigned char> whole = saver.Bytes();
  for (std::size_t cut = 0; cut < whole.size(); ++cut) {
    VelFileLoader loader(std::vector<unsigned char>(whole.begin(), whole.begin() + cut));
    EXPECT_FALSE(loader.GetInfoIfTag("DATA")) << cut;
    EXPECT_FALSE(loader.SkipBlock()) << cut;
  }
  // A tag with no terminator within the tag limit.
  VelFileLoader endless(std::vector<unsigned char>(1000, 'T'));
  EXPECT_EQ(endless.PeekTag(), "");
  EXPECT_FALSE(endless.GetInfoIfTag(static_cast<const char*>(nullptr)));
}

TEST(FileBlocks, BytesSurviveARealFile) {
  VelFileSaver saver;
  saver.SaveBlock("FILE", {0, 255, 128});
  const std::string path = ::testing::TempDir() + "blocks.bin";
  ASSERT_TRUE(saver.WriteToFile(path));
  VelFileLoader loader;
  ASSERT_TRUE(loader.ReadFromFile(path));
  std::remove(path.c_str());
  std::vector<unsigned char> data;
  ASSERT_TRUE(loader.GetInfoIfTag("FILE") && loader.CopyTagData(&data));
  EXPECT_EQ(data, (std::vector<unsigned char>{0, 255, 128}));
  EXPECT_FALSE(loader.ReadFromFile(path));  // gone
}

}  // namespace
