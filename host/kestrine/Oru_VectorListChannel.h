// An index-driven list of vectors: a "Value Vector" channel whose value is
// the element picked by the "Value" channel connected at its slot 0
// ("Index", see ListIndexSelector). Writing sets the picked element. An
// empty list reads (0, 0, 0) and ignores writes. Its elements are kept in
// its saved data.
#pragma once

#include <vector>

#include "host/kestrine/KestrineExport.h"
#include "host/kestrine/ListIndexSelector.h"
#include "host/kestrine/Oru_VectorChannel.h"

class KESTRINE_API Oru_VectorListChannel : public Oru_VectorChannel {
 public:
  Oru_VectorListChannel();
  ~Oru_VectorListChannel() override;

  void SetElements(std::vector<D3DXVECTOR3> elements) { elements_ = std::move(elements); }
  const std::vector<D3DXVECTOR3>& GetElements() const { return elements_; }

  D3DXVECTOR3 GetVector() override;
  void SetVector(D3DXVECTOR3 value) override;

  bool SaveChannel(VelFileSaver& saver) override;
  bool LoadChannel(VelFileLoader& loader, Vel_ChannelGroup* group) override;

 private:
  std::vector<D3DXVECTOR3> elements_;
  kestrine::ListIndexSelector selector_;
};
