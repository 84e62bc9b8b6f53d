// A short smoke run of the calibration command module: loads it as the engine
// does, picks "ConvertParameters" in a combo box, connects a small rig of
// value channels, evaluates once and prints what the command wrote.
#include <cstdio>
#include <string>

#include "host/kestrine/ChannelKinds.h"
#include "host/kestrine/Oru_FloatChannel.h"
#include "host/kestrine/Oru_VectorChannel.h"
#include "host/kestrine/StandardChannelTypes.h"
#include "host/kestrine/Vel_ChannelGroup.h"
#include "host/module_loader/VistrelModule.h"
#include "host/windows/ComboBoxControl.h"

int main(int argc, char** argv) {
  const std::string path = argc > 1 ? argv[1] : VISTREL_MODULE_PATH;
  std::string error;
  auto module = VistrelModule::Load(path, &error);
  if (!module) {
    std::fprintf(stderr, "cannot load %s: %s\n", path.c_str(), error.c_str());
    return 1;
  }
  Vel_ChannelGroup group;
  kestrine::RegisterStandardChannelTypes(group);
  module->RegisterWith(group);
  auto* command = static_cast<Oru_FloatChannel*>(group.CreateChannel(module->GetType()->typeGuid));

  ComboBoxControl box;
  HWND handle = box.Handle();
  module->FillModesList(command, handle);
  SendMessageA(handle, CB_SETCURSEL, 2, 0);
  if (module->SetNewMode(command, handle) != 0) {
    std::fprintf(stderr, "could not select ConvertParameters\n");
    return 1;
  }

  // Projector aiming at screen angle 20°, height 1.5, seen from 10° right and
  // 15° above, 2.5 away; camera aiming at angle 0, height 1.2; radius 5.
  const float inputs[8] = {20.0f, 1.5f, 10.0f, 15.0f, 2.5f, 0.0f, 1.2f, 5.0f};
  for (int i = 0; i < 11; ++i) {
    Vel_Channel* child = group.CreateChannel(i < 8 ? kestrine::kValueGuid : kestrine::kValueVectorGuid);
    if (i < 8) static_cast<Oru_FloatChannel*>(child)->SetFloat(inputs[i]);
    command->ConnectChild(i, child);
  }
  group.EvaluateAll();

  std::printf("%s\n", command->GetChannelName());
  for (int i = 0; i < 8; ++i) {
    std::printf("  %-26s %g\n", command->GetDeclaredSlot(i)->childName, inputs[i]);
  }
  for (int i = 8; i < 11; ++i) {
    const D3DXVECTOR3 v = static_cast<Oru_VectorChannel*>(command->GetChild(i))->GetVector();
    std::printf("  %-26s (%.6f, %.6f, %.6f)\n", command->GetDeclaredSlot(i)->childName, v.x, v.y, v.z);
  }
  return 0;
}
