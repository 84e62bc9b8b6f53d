// The tagged-block encoding of saved projects.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/kestrine/VelFileLoader.h"
#include "host/kestrine/VelFileSaver.h"

namespace {

TEST(FileBlocks, ABlockIsTagSizeAndDataAndIsReadOnlyAtTheCursorAndOnlyOnce) {
  VelFileSaver saver;
  saver.SaveTag("AB");
  saver.SaveBlockSize(3);
  saver.SaveDataToFile("xyz", 3);
  saver.SaveBlock("TWO", {});
  EXPECT_EQ(saver.Bytes(), (std::vector<unsigned char>{'A', 'B', 0, 3, 0, 0, 0, 'x', 'y', 'z',
                                                       'T', 'W', 'O', 0, 0, 0, 0, 0}));
  VelFileLoader loader(saver.Bytes());
  EXPECT_FALSE(loader.GetInfoIfTag("TWO"));
  EXPECT_FALSE(loader.GetInfoIfTag("A"));
  ASSERT_TRUE(loader.GetInfoIfTag("AB"));
  EXPECT_EQ(loader.GetTagDataSize(), 3u);
  char data[3] = {};
  ASSERT_TRUE(loader.CopyTagDataToPointer(data));
  EXPECT_EQ(std::string(data, 3), "xyz");
  EXPECT_FALSE(loader.CopyTagDataToPointer(data));  // nothing pending any more
  EXPECT_TRUE(loader.GetInfoIfTag("TWO"));
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
  VelFileLoader endless(std::vector<unsigned char>(1000, 'T'));  // no tag terminator
  EXPECT_EQ(endless.PeekTag(), "");
}

}  // namespace
