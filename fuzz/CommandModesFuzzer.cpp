// The command's three modes on arbitrary children: each slot gets a channel of
// a pool (values, vectors, and index-driven lists indexed by a pool value, a
// list or themselves) or stays empty. Properties: a run writes only its mode's
// outputs; a missing child, a projector count outside 1 to the maximum or a
// failed automatic configuration writes nothing; only that mode throws.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <set>
#include <vector>

#include "command/ChildLayout.h"
#include "command/ProjectorFootprint.h"
#include "fuzz/FuzzSupport.h"
#include "host/kestrine/ChannelKinds.h"
#include "host/kestrine/Oru_FloatListChannel.h"
#include "host/kestrine/Oru_VectorListChannel.h"

namespace {

struct Mode {
  const char* name;
  int required;  // slots 0 .. required - 1 must be connected
  std::vector<int> outputs;
};
const char kCameraMode[] = "CalcCameraParameters";
const char kAutoConfigMode[] = "AutoConfigParameters";

const Mode kModes[] = {
    {kCameraMode, camera_child::kCount,
     {camera_child::kProjectorIndex, camera_child::kEyeLookat, camera_child::kEyeFieldOfView}},
    {kAutoConfigMode, autoconfig_child::kDistortionPointIndex + 1,
     {5, 8, 11, 14, 17, 20, 23, 26, 29}},
    {"ConvertParameters", convert_child::kCount,
     {convert_child::kProjectorPositionOut, convert_child::kProjectorLookatOut,
      convert_child::kCameraLookatOut}},
};

// Plain values and vectors, then index-driven lists of each.
struct Pool {
  std::vector<Vel_Channel*> values, vectors;
};

Vel_Channel* Pick(FuzzedDataProvider& data, const std::vector<Vel_Channel*>& from) {
  return from[data.ConsumeIntegralInRange<std::size_t>(0, from.size() - 1)];
}

Pool MakePool(Vel_ChannelGroup& group, FuzzedDataProvider& data) {
  Pool pool;
  for (int i = 0; i < 6; ++i) {
    auto* value = static_cast<Oru_FloatChannel*>(group.CreateChannel(kestrine::kValueGuid));
    value->SetFloat(fuzz::AnyFloat(data));
    pool.values.push_back(value);
  }
  for (int i = 0; i < 4; ++i) {
    auto* vector = static_cast<Oru_VectorChannel*>(group.CreateChannel(kestrine::kValueVectorGuid));
    vector->SetVector({fuzz::AnyFloat(data), fuzz::AnyFloat(data), fuzz::AnyFloat(data)});
    pool.vectors.push_back(vector);
  }
  for (int i = 0; i < 2; ++i) {
    auto* values = static_cast<Oru_FloatListChannel*>(group.CreateChannel(kestrine::kValueListGuid));
    auto* vectors = static_cast<Oru_VectorListChannel*>(
        group.CreateChannel(kestrine::kValueVectorListGuid));
    std::vector<float> elements(data.ConsumeIntegralInRange(0, 9));
    for (float& element : elements) element = fuzz::AnyFloat(data);
    values->SetElements(elements);
    std::vector<D3DXVECTOR3> points(data.ConsumeIntegralInRange(0, 9));
    for (D3DXVECTOR3& e : points) e = {fuzz::AnyFloat(data), fuzz::AnyFloat(data), 0.0f};
    vectors->SetElements(points);
    pool.values.push_back(values);
    pool.vectors.push_back(vectors);
  }
  // Each list's index: any value of the pool, lists (itself included) too.
  for (Vel_Channel* list : {pool.values[6], pool.values[7], pool.vectors[4], pool.vectors[5]}) {
    list->ConnectChild(0, Pick(data, pool.values));
  }
  return pool;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  Vel_ChannelGroup group;
  fuzz::RegisterTypes(group);
  auto* command = static_cast<VistrelCommand*>(group.CreateChannel(kVistrelCommandTypeGuid));
  const Mode& mode = data.PickValueInArray(kModes);
  fuzz::Require(command->CCI_SetMode(mode.name) == 0, "the mode is selected");
  const Pool pool = MakePool(group, data);

  bool complete = true;
  for (int slot : command->GetDeclaredSlotIndices()) {
    if (data.ConsumeIntegralInRange(0, 63) == 0) {  // now and then, a slot left empty
      complete = complete && slot >= mode.required;
      continue;
    }
    const bool vector =
        GuidsEqual(command->GetDeclaredSlot(slot)->type.typeGuid, kestrine::kValueVectorGuid);
    command->ConnectChild(slot, Pick(data, vector ? pool.vectors : pool.values));
  }

  bool refused = !complete;
  if (complete && mode.name == kCameraMode) {
    const float count = static_cast<Oru_FloatChannel*>(
                            command->GetChild(camera_child::kProjectorCount))->GetFloat();
    refused = !(count >= 1.0f && count < eye_view::kMaxProjectorCount + 1.0f);
  }
  std::set<long> writable;
  for (int slot : mode.outputs) writable.insert(group.GetChannelId(command->GetChild(slot)));

  const auto before = fuzz::Snapshot(group);
  bool threw = false;
  try {
    command->CallChannel();
  } catch (const std::exception&) {
    threw = true;
  }
  const auto after = fuzz::Snapshot(group);
  fuzz::Require(!threw || mode.name == kAutoConfigMode, "only the automatic configuration throws");
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (before[i] == after[i]) continue;
    fuzz::Require(!refused && !threw, "a refused or failed run writes nothing");
    fuzz::Require(writable.count(static_cast<long>(i)) == 1, "a run writes only its outputs");
  }
  return 0;
}
