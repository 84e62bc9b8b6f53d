// The host's "Value Vector" channel: three 32-bit floats, read with
// GetVector (slot 20) and written with SetVector (slot 21), both by value.
// Its value is kept in its saved data ("VVEC" block after the host's part).
#pragma once

#include "host/d3dx/D3DXMath.h"
#include "host/kestrine/KestrineExport.h"
#include "host/kestrine/Vel_Channel.h"

class KESTRINE_API Oru_VectorChannel : public Vel_Channel {
 public:
  // Value (0, 0, 0); type "Value Vector".
  Oru_VectorChannel();
  Oru_VectorChannel(const Oru_VectorChannel&) = default;
  Oru_VectorChannel& operator=(const Oru_VectorChannel&) = default;
  ~Oru_VectorChannel() override;

  virtual D3DXVECTOR3 GetVector();             // slot 20
  virtual void SetVector(D3DXVECTOR3 value);   // slot 21

  bool SaveChannel(VelFileSaver& saver) override;
  bool LoadChannel(VelFileLoader& loader, Vel_ChannelGroup* group) override;

 private:
  D3DXVECTOR3 value_{0.0f, 0.0f, 0.0f};
};
