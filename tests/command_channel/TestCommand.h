// A small concrete command that drives the command channel template in the
// tests: three modes, each declaring a different set of child slots.
#pragma once

#include <cstring>
#include <string>

#include "command_channel/CommandChannelInterface.h"

class TestCommand : public CommandChannelInterface<TestCommand> {
 public:
  // Adds the placeholder and three modes; "Gamma" is selected by the
  // description "Third mode".
  void AddStandardModes() {
    CCI_AddMode("Undefined", "placeholder");
    CCI_AddMode("Alpha", "Alpha");
    CCI_AddMode("Beta", "Beta");
    CCI_AddMode("Gamma", "Third mode");
  }

  int createChildLinksCalls = 0;

  // Where the template declares its own virtual operation (slot 27).
  static auto CreateChildLinksMember() { return &TestCommand::CCI_CreateChildLinks; }

  using CommandChannelInterface<TestCommand>::childInfos;
  using CommandChannelInterface<TestCommand>::commandValue;
  using CommandChannelInterface<TestCommand>::currentModeName;

 protected:
  // "Alpha": a Value at 0 and a Value Vector at 1. "Beta": five slots, one
  // of each kind plus a second Value, at 0 to 4. Any other mode: none.
  void CCI_CreateChildLinks() override {
    ++createChildLinksCalls;
    ChildCreation creation;
    SetChildCreationCount(0);
    unsigned int index = 0;
    if (std::strcmp(currentModeName, "Alpha") == 0) {
      CCI_CreateValueChildLink(index, &creation, "Amount", 1, 1, 0);
      CCI_CreateVectorChildLink(index, &creation, "Where", 1, 1, 0);
    } else if (std::strcmp(currentModeName, "Beta") == 0) {
      CCI_CreateGenericChildLink(index, &creation, "Anything", 1, 1, 0);
      CCI_CreateValueChildLink(index, &creation, "Amount", 1, 1, 0);
      CCI_CreateVectorChildLink(index, &creation, "Where", 1, 1, 0);
      CCI_CreateStringChildLink(index, &creation, "Label", 1, 1, 0);
      CCI_CreateMatrixChildLink(index, &creation, "Pose", 1, 1, 0);
    }
  }
};
