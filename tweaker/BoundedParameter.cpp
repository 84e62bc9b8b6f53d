#include "tweaker/BoundedParameter.h"

#include "tweaker/FloatMidpoint.h"
#include "tweaker/TweakerError.h"

BoundedParameter::BoundedParameter(float minVal, float maxVal,
                                   float initialValue)
    : minVal(minVal), maxVal(maxVal), value(&storage), storage(0.0f) {
  if (maxVal < minVal) {
    throw TweakerError::ReversedRange();
  }
  const bool outside = initialValue < minVal || initialValue > maxVal;
  storage = outside ? FloatMidpoint(minVal, maxVal) : initialValue;
}
