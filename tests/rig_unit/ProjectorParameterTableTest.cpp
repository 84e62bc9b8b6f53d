// The one table of the nine parameters agrees with the module's own child
// layout and with the order of ProjectorParameters' members.
#include <gtest/gtest.h>

#include <string>

#include "command/ChildLayout.h"
#include "pose/ProjectorParameterTable.h"

namespace {

TEST(ProjectorParameterTable, AgreesWithTheModulesChildrenAndTheStructsOrder) {
  ProjectorParameters p{0, 1, 2, 3, 4, 5, 6, 7, 8};  // aggregate order = declaration order
  int poseInputs = 0;
  for (int k = 0; k < kProjectorParameterCount; ++k) {
    const ProjectorParameterRow& row = kProjectorParameterTable[k];
    const std::string name = row.name;
    EXPECT_EQ(ParameterOf(p, k), static_cast<float>(k)) << name;
    EXPECT_EQ(kAutoConfigParametersChildren[autoconfig_child::Value(k)].name, name);
    EXPECT_EQ(kAutoConfigParametersChildren[autoconfig_child::Minimum(k)].name, name + "Min");
    EXPECT_EQ(kAutoConfigParametersChildren[autoconfig_child::Maximum(k)].name, name + "Max");
    EXPECT_EQ(kAutoConfigParametersChildren[autoconfig_child::Switch(k)].name, "Tweak " + name);
    if (row.conversionChild) {
      // The conversion mode's pose inputs come first, in parameter order.
      EXPECT_EQ(kConvertParametersChildren[poseInputs++].name, std::string(row.conversionChild));
    }
    EXPECT_EQ(ProjectorParameterIndex(row.name), k);
    EXPECT_GT(row.defaultHalfRange, 0.0f) << name;
  }
  EXPECT_EQ(poseInputs, 5);
  EXPECT_EQ(ProjectorParameterIndex("ProjFov"), -1);
  EXPECT_EQ(ProjectorParameterIndex(""), -1);
}

}  // namespace
