#include "pose/ProjectorParameterTable.h"

#include <cstring>

int ProjectorParameterIndex(const char* name) {
  for (int k = 0; k < kProjectorParameterCount; ++k) {
    if (std::strcmp(name, kProjectorParameterTable[k].name) == 0) return k;
  }
  return -1;
}
