// Arbitrary bytes loaded as a project into a group that holds a channel.
// Properties: a failed load leaves the group as it was; every loaded link sits
// on a declared slot that accepts its child, a channel of the group; save,
// load, save gives the same bytes; one evaluation of everything loaded ends.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "host/kestrine/VelFileLoader.h"

namespace {

void CheckLinks(Vel_ChannelGroup& group) {
  for (std::size_t i = 0; i < group.GetChannelCount(); ++i) {
    Vel_Channel* channel = group.GetChannel(i);
    for (int slot = 0; slot < Vel_Channel::kSlotLimit; ++slot) {
      Vel_Channel* child = channel->GetChild(slot);
      if (channel->GetChildInfo(slot) == nullptr) continue;
      const ChildCreation* declared = channel->GetDeclaredSlot(slot);
      fuzz::Require(declared != nullptr, "a loaded link sits on a declared slot");
      fuzz::Require(Vel_Channel::SlotAccepts(declared->type.typeGuid, child),
                    "a loaded link's slot accepts its child");
      fuzz::Require(group.GetChannelId(child) >= 0, "a loaded link's child is in the group");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  Vel_ChannelGroup group;
  fuzz::RegisterTypes(group);
  group.CreateChannel(kestrine::kValueGuid)->SetChannelName("already here");
  const std::vector<unsigned char> before = fuzz::SavedProject(group);

  VelFileLoader loader(std::vector<unsigned char>(bytes, bytes + size));
  if (!group.LoadProject(loader)) {
    fuzz::Require(group.GetChannelCount() == 1 && fuzz::SavedProject(group) == before,
                  "a failed load leaves the group as it was");
    return 0;
  }
  CheckLinks(group);

  const std::vector<unsigned char> first = fuzz::SavedProject(group);
  Vel_ChannelGroup again;
  fuzz::RegisterTypes(again);
  VelFileLoader reload(first);
  fuzz::Require(again.LoadProject(reload), "a saved project loads");
  fuzz::Require(fuzz::SavedProject(again) == first, "save, load, save gives the same bytes");

  try {
    group.EvaluateAll();
  } catch (const std::exception&) {
    // A failed automatic configuration reports through an exception.
  }
  return 0;
}
