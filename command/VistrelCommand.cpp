#include "command/VistrelCommand.h"

#include <cstring>

#include "command/ChildLayout.h"

template class CommandChannelInterface<VistrelCommand>;

namespace {
constexpr char kUndefinedMode[] = "UndefinedMode";
constexpr char kCalcCameraParameters[] = "CalcCameraParameters";
constexpr char kAutoConfigParameters[] = "AutoConfigParameters";
constexpr char kConvertParameters[] = "ConvertParameters";

// Compares the mode name with its terminator, so a longer name never matches.
template <std::size_t N>
bool IsMode(const char* current, const char (&mode)[N]) {
  return std::memcmp(current, mode, N) == 0;
}
}  // namespace

VistrelCommand::VistrelCommand() {
  SetChannelName("VistrelCommand");
  CCI_SetPrefix("VLCC_");
  CCI_AddMode(kUndefinedMode, "this is undefined mode");
  CCI_AddMode(kCalcCameraParameters, kCalcCameraParameters);
  CCI_AddMode(kAutoConfigParameters, kAutoConfigParameters);
  CCI_AddMode(kConvertParameters, kConvertParameters);
}

// Defined here, not inline, so that the module exports them with the rest.
VistrelCommand::VistrelCommand(const VistrelCommand& other) = default;
VistrelCommand& VistrelCommand::operator=(const VistrelCommand& other) = default;
VistrelCommand::~VistrelCommand() = default;

void VistrelCommand::CallChannel() {
  if (IsMode(currentModeName, kCalcCameraParameters)) CalcCameraParameters();
  if (IsMode(currentModeName, kAutoConfigParameters)) AutoConfigParameters();
  if (IsMode(currentModeName, kConvertParameters)) ConvertParameters();
}

bool VistrelCommand::SaveChannel(VelFileSaver& saver) {
  if (!Vel_Channel::SaveChannel(saver)) return false;
  return CommandChannelInterface<VistrelCommand>::SaveChannel(saver);
}

bool VistrelCommand::LoadChannel(VelFileLoader& loader, Vel_ChannelGroup* group) {
  if (!Vel_Channel::LoadChannel(loader, group)) return false;
  return CommandChannelInterface<VistrelCommand>::LoadChannel(loader, group);
}

void VistrelCommand::DoDependencyInit(Vel_List* dependencies) {
  CommandChannelInterface<VistrelCommand>::DoDependencyInit(dependencies);
}

void VistrelCommand::CCI_CreateChildLinks() {
  ChildCreation creation;
  SetChildCreationCount(0);
  unsigned int index = 0;
  const ChildSlot* slots = kConvertParametersChildren;
  int count = convert_child::kCount;
  if (IsMode(currentModeName, kUndefinedMode)) {
    count = 0;
  } else if (IsMode(currentModeName, kCalcCameraParameters)) {
    slots = kCalcCameraParametersChildren;
    count = camera_child::kCount;
  } else if (IsMode(currentModeName, kAutoConfigParameters)) {
    slots = kAutoConfigParametersChildren;
    count = autoconfig_child::kCount;
  }
  for (int i = 0; i < count; ++i) {
    if (slots[i].kind == ChildKind::kValue) {
      CCI_CreateValueChildLink(index, &creation, slots[i].name, 1, 1, 0);
    } else {
      CCI_CreateVectorChildLink(index, &creation, slots[i].name, 1, 1, 0);
    }
  }
}
