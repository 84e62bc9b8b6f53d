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

}  // namespace
