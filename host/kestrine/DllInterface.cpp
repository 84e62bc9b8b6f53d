#include "host/kestrine/DllInterface.h"

DllInterface::~DllInterface() = default;
