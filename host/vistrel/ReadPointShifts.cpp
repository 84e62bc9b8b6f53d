// Reading the eight measured point shifts through a channel's children.
#include "host/kestrine/ListIndexSelector.h"
#include "host/kestrine/Oru_FloatChannel.h"
#include "host/kestrine/Oru_VectorChannel.h"
#include "host/vistrel/Oru_Vistrel.h"

void Oru_Vistrel::ReadPointShifts(Vel_Channel* channel, int arrayChild, int indexChild,
                                  D3DXVECTOR2* shifts) {
  constexpr int kShiftCount = 8;
  if (shifts == nullptr) return;
  Oru_VectorChannel* array = nullptr;
  Oru_FloatChannel* index = nullptr;
  if (channel != nullptr) {
    array = dynamic_cast<Oru_VectorChannel*>(channel->GetChild(arrayChild));
    index = dynamic_cast<Oru_FloatChannel*>(channel->GetChild(indexChild));
  }
  if (array == nullptr || index == nullptr ||
      kestrine::ListIndexSelector::PickDependsOn(index, index)) {
    for (int k = 0; k < kShiftCount; ++k) shifts[k] = D3DXVECTOR2(0.0f, 0.0f);
    return;
  }
  const float original = index->GetFloat();
  for (int k = 0; k < kShiftCount; ++k) {
    index->SetFloat(static_cast<float>(k));
    const D3DXVECTOR3 shift = array->GetVector();
    shifts[k] = D3DXVECTOR2(shift.x, shift.y);
  }
  index->SetFloat(original);
}
