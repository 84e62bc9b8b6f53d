// Typed access to the command's children. A child that is not connected, or
// is not of the kind its slot declares, counts as missing (null), so that a
// mode computation never calls through a channel of the wrong kind.
#pragma once

#include "host/kestrine/Oru_FloatChannel.h"
#include "host/kestrine/Oru_VectorChannel.h"
#include "host/kestrine/Vel_Channel.h"

inline Oru_FloatChannel* ValueChild(Vel_Channel& command, int index) {
  return dynamic_cast<Oru_FloatChannel*>(command.GetChild(index));
}

inline Oru_VectorChannel* VectorChild(Vel_Channel& command, int index) {
  return dynamic_cast<Oru_VectorChannel*>(command.GetChild(index));
}
