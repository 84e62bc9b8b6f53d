// An index-driven list of floats: a "Value" channel whose value is the
// element picked by the "Value" channel connected at its slot 0 ("Index",
// see ListIndexSelector). Writing sets the picked element. An empty list
// reads 0 and ignores writes. Its elements are kept in its saved data.
#pragma once

#include <vector>

#include "host/kestrine/KestrineExport.h"
#include "host/kestrine/ListIndexSelector.h"
#include "host/kestrine/Oru_FloatChannel.h"

class KESTRINE_API Oru_FloatListChannel : public Oru_FloatChannel {
 public:
  Oru_FloatListChannel();
  ~Oru_FloatListChannel() override;

  void SetElements(std::vector<float> elements) { elements_ = std::move(elements); }
  const std::vector<float>& GetElements() const { return elements_; }

  float GetFloat() override;
  void SetFloat(float value) override;

  bool SaveChannel(VelFileSaver& saver) override;
  bool LoadChannel(VelFileLoader& loader, Vel_ChannelGroup* group) override;

 private:
  std::vector<float> elements_;
  kestrine::ListIndexSelector selector_;
};
