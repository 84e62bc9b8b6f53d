#include "rig/scene/PositionedJson.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <iterator>
#include <vector>

#include "rig/RigError.h"

namespace rig {
namespace {

// A character iterator that reports how far the parser has read: the
// parser's callback has no position of its own, so the input tells it.
class CountingIterator {
 public:
  using iterator_category = std::input_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  CountingIterator(const char* at, std::size_t* consumed) : at_(at), consumed_(consumed) {}
  reference operator*() const { return *at_; }
  CountingIterator& operator++() {
    ++at_;
    ++*consumed_;
    return *this;
  }
  CountingIterator operator++(int) {
    CountingIterator old = *this;
    ++*this;
    return old;
  }
  bool operator==(const CountingIterator& o) const { return at_ == o.at_; }
  bool operator!=(const CountingIterator& o) const { return at_ != o.at_; }

 private:
  const char* at_;
  std::size_t* consumed_;
};

// Where each line starts, built in one pass, so that the position of any
// byte offset is a binary search instead of a scan from the start of the
// text (which made reading a scene quadratic in its size).
class LineTable {
 public:
  explicit LineTable(const std::string& text) {
    starts_.push_back(0);
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\n') starts_.push_back(i + 1);
    }
  }
  TextPosition PositionOf(std::size_t offset) const {
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), offset);
    const std::size_t line = static_cast<std::size_t>(after - starts_.begin());  // 1-based
    return {static_cast<int>(std::min<std::size_t>(line, INT_MAX)),
            static_cast<int>(std::min<std::size_t>(offset - starts_[line - 1] + 1, INT_MAX))};
  }

 private:
  std::vector<std::size_t> starts_;
};

// Thrown from the parser's callback when a container opens too deep.
struct TooDeep {
  std::size_t offset;
};

std::string EscapePointerToken(const std::string& key) {
  std::string out;
  for (char c : key) {
    if (c == '~') out += "~0";
    else if (c == '/') out += "~1";
    else out += c;
  }
  return out;
}

// Builds pointer -> position while the parser reports its events. Between
// two events the parser has read separators and one token (and for a number
// one character beyond it), so the next value or key starts at the first
// character after the previous event that is not a separator.
class PositionRecorder {
 public:
  PositionRecorder(const std::string& text, const LineTable& lines, const std::size_t* consumed,
                   std::map<std::string, TextPosition>* out)
      : text_(text), lines_(lines), consumed_(consumed), out_(out) {}

  bool OnEvent(int depth, nlohmann::json::parse_event_t event, const nlohmann::json& parsed) {
    using E = nlohmann::json::parse_event_t;
    const std::size_t start = TokenStart();  // of a key or a plain value
    if ((event == E::object_start || event == E::array_start) && depth >= kMaxNestingDepth) {
      // Refused as the container opens, before anything inside it is kept.
      throw TooDeep{*consumed_ > 0 ? *consumed_ - 1 : 0};
    }
    switch (event) {
      case E::key:
        pendingPath_ = stack_.back().path + "/" + EscapePointerToken(parsed.get<std::string>());
        Record(pendingPath_, start);
        break;
      case E::object_start:
      case E::array_start: {
        // The parser has read the bracket itself: the value starts there.
        const std::string path = ValuePath(*consumed_ > 0 ? *consumed_ - 1 : 0);
        stack_.push_back({path, event == E::array_start, 0});
        break;
      }
      case E::object_end:
      case E::array_end:
        if (!stack_.empty()) stack_.pop_back();
        break;
      case E::value:
        ValuePath(start);
        break;
    }
    previous_ = *consumed_;
    return true;
  }

 private:
  struct Container {
    std::string path;
    bool isArray;
    int nextIndex;
  };

  std::size_t TokenStart() const {
    std::size_t i = previous_;
    while (i < text_.size() && (text_[i] == ' ' || text_[i] == '\t' || text_[i] == '\n' ||
                                text_[i] == '\r' || text_[i] == ',' || text_[i] == ':' ||
                                text_[i] == '[' || text_[i] == '{')) {
      ++i;
    }
    return i;
  }

  // The pointer of the value that starts at `start`, recorded for array
  // elements and the root (an object member was recorded at its key).
  std::string ValuePath(std::size_t start) {
    if (stack_.empty()) {
      Record("", start);
      return "";
    }
    Container& parent = stack_.back();
    if (!parent.isArray) return pendingPath_;
    const std::string path = parent.path + "/" + std::to_string(parent.nextIndex++);
    Record(path, start);
    return path;
  }

  void Record(const std::string& path, std::size_t start) {
    (*out_)[path] = lines_.PositionOf(start);
  }

  const std::string& text_;
  const LineTable& lines_;
  const std::size_t* consumed_;
  std::map<std::string, TextPosition>* out_;
  std::vector<Container> stack_;
  std::string pendingPath_;
  std::size_t previous_ = 0;
};

}  // namespace

TextPosition PositionedJson::At(const std::string& pointer) const {
  std::string p = pointer;
  for (;;) {
    const auto found = positions.find(p);
    if (found != positions.end()) return found->second;
    if (p.empty()) return TextPosition{};
    p.erase(p.rfind('/'));
  }
}

std::string Where(const std::string& fileName, TextPosition position) {
  return fileName + ":" + std::to_string(position.line) + ":" + std::to_string(position.column) +
         ": ";
}

PositionedJson ParsePositionedJson(const std::string& text, const std::string& fileName) {
  PositionedJson result;
  std::size_t consumed = 0;
  const LineTable lines(text);
  PositionRecorder recorder(text, lines, &consumed, &result.positions);
  const nlohmann::json::parser_callback_t callback =
      [&recorder](int depth, nlohmann::json::parse_event_t event, nlohmann::json& parsed) {
        return recorder.OnEvent(depth, event, parsed);
      };
  try {
    result.document = nlohmann::json::parse(CountingIterator(text.data(), &consumed),
                                            CountingIterator(text.data() + text.size(), &consumed),
                                            callback);
  } catch (const TooDeep& deep) {
    throw RigError(kExitBadInput, Where(fileName, lines.PositionOf(deep.offset)) +
                                      "nested more than " + std::to_string(kMaxNestingDepth) +
                                      " levels deep, expected a scene (five levels)");
  } catch (const nlohmann::json::parse_error& e) {
    // e.byte is the 1-based offset just past the offending character; the
    // library's own text after "column N: " says what is wrong and expected.
    const std::size_t offset = e.byte > 0 ? e.byte - 1 : 0;
    std::string what = e.what();
    const std::size_t cut = what.find(": ", what.find("column"));
    if (cut != std::string::npos) what = what.substr(cut + 2);
    throw RigError(kExitBadInput, Where(fileName, lines.PositionOf(offset)) +
                                      "not valid JSON: " + what);
  } catch (const nlohmann::json::exception& e) {
    // A number too large for a double, say: the reader stopped just past it.
    std::string what = e.what();
    const std::size_t cut = what.find("] ");
    if (cut != std::string::npos) what = what.substr(cut + 2);
    throw RigError(kExitBadInput, Where(fileName, lines.PositionOf(consumed > 0 ? consumed - 1 : 0)) +
                                      "not usable JSON: " + what + ", expected numbers a float can hold");
  }
  return result;
}

}  // namespace rig
