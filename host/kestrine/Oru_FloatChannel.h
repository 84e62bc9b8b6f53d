// The float channel library's channel: a "Value" that holds one 32-bit
// float. Adds virtual slots 20 to 26 after Vel_Channel's. A plain value
// channel keeps its value in its saved data ("FVAL" block after the host's
// own part); channels derived from it decide for themselves.
#pragma once

#include "host/kestrine/KestrineExport.h"
#include "host/kestrine/Vel_Channel.h"

class KESTRINE_API Oru_FloatChannel : public Vel_Channel {
 public:
  // Value 0, default 0, default setting 0; type "Value".
  Oru_FloatChannel();
  Oru_FloatChannel(const Oru_FloatChannel&) = default;
  Oru_FloatChannel& operator=(const Oru_FloatChannel&) = default;
  ~Oru_FloatChannel() override;

  virtual float GetFloat();                       // slot 20
  virtual float GetOldFloat();                    // slot 21: the value before the last SetFloat
  virtual void SetFloat(float value);             // slot 22
  virtual float GetDefaultFloat();                // slot 23
  virtual void SetDefaultFloat(float value);      // slot 24
  virtual int GetDefaultFloatSetting();           // slot 25
  virtual void SetDefaultFloatSetting(int setting);  // slot 26

  bool SaveChannel(VelFileSaver& saver) override;
  bool LoadChannel(VelFileLoader& loader, Vel_ChannelGroup* group) override;

 private:
  float value_ = 0.0f;
  float oldValue_ = 0.0f;
  float defaultValue_ = 0.0f;
  int defaultSetting_ = 0;
};
