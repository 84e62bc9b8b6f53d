// Typed access to the command's children. A child that is not connected, or
// is not of the kind its slot declares, counts as missing (null), so that a
// mode computation never calls through a channel of the wrong kind.
#pragma once

#include <typeinfo>

#include "host/kestrine/Oru_FloatChannel.h"
#include "host/kestrine/Oru_VectorChannel.h"
#include "host/kestrine/Vel_Channel.h"

// `child` as a `Channel`, or null: exactly what dynamic_cast gives. A child
// whose type is `Channel` itself (the usual case: the host's own value and
// vector channels) is recognised by its type record alone, which costs a
// fraction of dynamic_cast's walk of the class hierarchy; any other child
// (a derived channel, or one of another kind) takes the full cast.
template <typename Channel>
Channel* ChildAs(Vel_Channel* child) {
  if (child == nullptr) return nullptr;
  if (&typeid(*child) == &typeid(Channel)) return static_cast<Channel*>(child);
  return dynamic_cast<Channel*>(child);
}

inline Oru_FloatChannel* ValueChild(Vel_Channel& command, int index) {
  return ChildAs<Oru_FloatChannel>(command.GetChild(index));
}

inline Oru_VectorChannel* VectorChild(Vel_Channel& command, int index) {
  return ChildAs<Oru_VectorChannel>(command.GetChild(index));
}
