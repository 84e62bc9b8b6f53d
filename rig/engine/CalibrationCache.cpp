#include "rig/engine/CalibrationCache.h"

#include <cstring>

namespace rig {
namespace {

void Append(std::string& key, float value) {
  char bytes[sizeof value];
  std::memcpy(bytes, &value, sizeof value);
  key.append(bytes, sizeof value);
}

void AppendCamera(std::string& key, const Camera& c) {
  for (float v : c.position) Append(key, v);
  for (float v : {c.aimAngle, c.aimHeight, c.fovX, c.fovY}) Append(key, v);
  key += c.imageSize ? 'S' : '-';
  if (c.imageSize) {
    for (int v : *c.imageSize) Append(key, static_cast<float>(v));
  }
}

}  // namespace

std::string CalibrationCache::KeyOf(const Scene& scene, const Calibration& c) {
  std::string key = c.projector;
  key += '\0';
  if (const Projector* p = scene.FindProjector(c.projector)) {
    for (int k = 0; k < kProjectorParameterCount; ++k) Append(key, ParameterOf(p->parameters, k));
  }
  Append(key, scene.radius);
  // The camera's look-at comes from the scene camera's aim on the screen.
  AppendCamera(key, scene.camera);
  key += c.camera ? 'C' : '-';
  if (c.camera) AppendCamera(key, *c.camera);
  for (const auto& shift : c.shifts) {
    for (float v : shift) Append(key, v);
  }
  key += c.cameraPoints ? 'P' : '-';
  if (c.cameraPoints) {
    for (const auto& point : *c.cameraPoints) {
      for (float v : point) Append(key, v);
    }
  }
  for (const Range& r : c.ranges) {
    Append(key, r.minimum);
    Append(key, r.maximum);
  }
  Append(key, static_cast<float>(c.searchMask));
  return key;
}

CalibrationCache::Entry* CalibrationCache::Find(const std::string& key) {
  auto it = entries_.find(key);
  if (it == entries_.end()) return nullptr;
  recent_.splice(recent_.begin(), recent_, it->second.second);
  return &it->second.first;
}

CalibrationCache::Entry& CalibrationCache::Store(const std::string& key,
                                                 const ProjectorParameters& fitted) {
  ++evaluations_;
  auto it = entries_.find(key);
  if (it != entries_.end()) {
    recent_.erase(it->second.second);
    entries_.erase(it);
  }
  while (!entries_.empty() && entries_.size() >= capacity_) {
    entries_.erase(recent_.back());
    recent_.pop_back();
  }
  recent_.push_front(key);
  auto& slot = entries_[key];
  slot.first = Entry{fitted, std::nullopt};
  slot.second = recent_.begin();
  return slot.first;
}

}  // namespace rig
