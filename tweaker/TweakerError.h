// The one failure type of the bounded parameter search: a std::exception
// whose text is one of three fixed messages. It allocates nothing of its
// own; the message is a string literal with static storage.
#pragma once

#include <exception>

class TweakerError : public std::exception {
 public:
  // "minVal bigger than maxVal": a range was given with its ends reversed.
  static TweakerError ReversedRange() noexcept {
    return TweakerError("minVal bigger than maxVal");
  }
  // "invalid interval size": a scan step that is not greater than 0
  // (including NaN), which a listed entry yields when its ends are equal.
  static TweakerError InvalidIntervalSize() noexcept {
    return TweakerError("invalid interval size");
  }
  // "invalid interval": a bisection window that is reversed or reaches
  // outside its entry's range (including NaN ends).
  static TweakerError InvalidInterval() noexcept {
    return TweakerError("invalid interval");
  }

  const char* what() const noexcept override { return message_; }

 private:
  explicit TweakerError(const char* message) noexcept : message_(message) {}

  const char* message_;  // always a string literal, never freed
};
