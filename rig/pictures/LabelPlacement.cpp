#include "rig/pictures/LabelPlacement.h"

#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace rig {
namespace {

bool Finite(const LabelBox& b) {
  return std::isfinite(b.x0) && std::isfinite(b.y0) && std::isfinite(b.x1) && std::isfinite(b.y1) &&
         b.x0 <= b.x1 && b.y0 <= b.y1;
}

// A box covering more cells than this is kept in a short list checked
// against everything instead of being entered in thousands of cells.
constexpr std::int64_t kMaxCellsPerBox = 256;

class BoxGrid {
 public:
  explicit BoxGrid(double cell) : cell_(cell > 0 && std::isfinite(cell) ? cell : 16.0) {}

  bool Free(const LabelBox& b) const {
    for (const LabelBox& big : large_) {
      if (BoxesOverlap(big, b)) return false;
    }
    bool free = true;
    VisitCells(b, [&](std::int64_t key) {
      const auto it = cells_.find(key);
      if (it == cells_.end()) return;
      for (std::size_t i : it->second) {
        if (BoxesOverlap(boxes_[i], b)) free = false;
      }
    });
    return free;
  }

  void Add(const LabelBox& b) {
    if (CellCount(b) > kMaxCellsPerBox) {
      large_.push_back(b);
      return;
    }
    boxes_.push_back(b);
    const std::size_t index = boxes_.size() - 1;
    VisitCells(b, [&](std::int64_t key) { cells_[key].push_back(index); });
  }

 private:
  std::int64_t Cell(double v) const { return static_cast<std::int64_t>(std::floor(v / cell_)); }
  std::int64_t CellCount(const LabelBox& b) const {
    return (Cell(b.x1) - Cell(b.x0) + 1) * (Cell(b.y1) - Cell(b.y0) + 1);
  }
  // Only called for finite boxes; a box of more than kMaxCellsPerBox cells
  // is never entered, and a query that large is checked cell by cell up to
  // the same bound (beyond it every stored box is compared directly).
  template <class Visit>
  void VisitCells(const LabelBox& b, Visit visit) const {
    if (CellCount(b) > kMaxCellsPerBox) {
      for (std::size_t i = 0; i < boxes_.size(); ++i) visit(KeyOfBox(i));
      return;
    }
    for (std::int64_t y = Cell(b.y0); y <= Cell(b.y1); ++y) {
      for (std::int64_t x = Cell(b.x0); x <= Cell(b.x1); ++x) visit(Key(x, y));
    }
  }
  // Cell (x, y) as one number: x in the high 32 bits, y in the low ones
  // (shifted as unsigned: a cell left of or above the origin is negative).
  static std::int64_t Key(std::int64_t x, std::int64_t y) {
    const std::uint64_t bits = (static_cast<std::uint64_t>(x) << 32) ^ (static_cast<std::uint64_t>(y) & 0xffffffffu);
    return static_cast<std::int64_t>(bits);
  }
  std::int64_t KeyOfBox(std::size_t i) const { return Key(Cell(boxes_[i].x0), Cell(boxes_[i].y0)); }

  double cell_;
  std::vector<LabelBox> boxes_, large_;
  std::unordered_map<std::int64_t, std::vector<std::size_t>> cells_;
};

}  // namespace

bool BoxesOverlap(const LabelBox& a, const LabelBox& b) {
  return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1;
}

std::vector<int> PlaceLabels(const std::vector<std::vector<LabelBox>>& candidates,
                             const std::vector<LabelBox>& obstacles, double cellSize) {
  BoxGrid grid(cellSize);
  for (const LabelBox& o : obstacles) {
    if (Finite(o)) grid.Add(o);
  }
  std::vector<int> chosen(candidates.size(), -1);
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    for (std::size_t k = 0; k < candidates[i].size(); ++k) {
      const LabelBox& b = candidates[i][k];
      if (Finite(b) && grid.Free(b)) {
        grid.Add(b);
        chosen[i] = static_cast<int>(k);
        break;
      }
    }
  }
  return chosen;
}

double TextWidth(const std::string& text, double fontSize) {
  std::size_t characters = 0;
  for (unsigned char c : text) {
    if ((c & 0xc0) != 0x80) ++characters;  // count UTF-8 sequences, not bytes
  }
  return 0.62 * fontSize * static_cast<double>(characters);
}

}  // namespace rig
