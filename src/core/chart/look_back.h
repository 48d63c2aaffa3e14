#pragma once
// Look-backs over consecutive series indices in O(1) per index, so that a line over the window costs
// O(window) whatever its period: the highest or lowest value (a monotonic queue holds the indices that
// can still become the extreme) and sums (prefix sums).
#include <algorithm>
#include <cstdint>
#include <vector>

namespace sorano {

struct LookBackExtreme {
  int64_t value = 0;
  int index = 0;  // of equal extremes, the most recent
};

// For each m = from ... to: the extreme of value(j) over j = max(0, m - len + 1) ... m, where
// better(a, b) says a is strictly more extreme than b (std::greater for the highest). Nothing before
// index 0 is read; callers skip the m whose look-back would need it. Empty when to < from or len < 1.
template <class Value, class Better>
std::vector<LookBackExtreme> SlidingExtremes(int from, int to, int64_t len, Value value, Better better) {
  std::vector<LookBackExtreme> out;
  if (to < from || len < 1) return out;
  out.resize(static_cast<size_t>(to - from) + 1);
  const int start = static_cast<int>(std::max<int64_t>(0, from - len + 1));
  std::vector<int> queue;  // indices with values in strictly "worse" order from head to back
  queue.reserve(static_cast<size_t>(to - start) + 1);
  size_t head = 0;
  for (int j = start; j <= to; ++j) {
    const int64_t v = value(j);
    while (queue.size() > head && !better(value(queue.back()), v)) queue.pop_back();
    queue.push_back(j);
    if (queue[head] <= j - len) ++head;  // one index enters per step, so at most one leaves
    if (j >= from) out[static_cast<size_t>(j - from)] = {value(queue[head]), queue[head]};
  }
  return out;
}

// Sums of g(m) over the cnt indices ending at k, for from <= k - cnt + 1 and k <= to. Exact in 64 bits.
class RunningSums {
 public:
  template <class G>
  RunningSums(int from, int to, G g)
      : from_(from), sums_(static_cast<size_t>(std::max(0, to - from + 1)) + 1, 0) {
    for (int m = from; m <= to; ++m) {
      const size_t at = static_cast<size_t>(m - from);
      sums_[at + 1] = sums_[at] + g(m);
    }
  }
  int64_t Sum(int k, int cnt) const {
    const size_t end = static_cast<size_t>(k - from_) + 1;
    return sums_[end] - sums_[end - static_cast<size_t>(cnt)];
  }

 private:
  int from_;
  std::vector<int64_t> sums_;
};

}  // namespace sorano
