// A fixed ring of samples; C++ without exceptions or run-time type data.
#include "demo/ring.h"

namespace {

template <unsigned N> class Ring {
  public:
    void Push(u32 value) {
        values_[next_] = value;
        next_ = (next_ + 1) % N;
        if (count_ < N) ++count_;
    }
    u32 Sum() const {
        u32 sum = 0;
        for (unsigned i = 0; i < count_; ++i) sum += values_[i];
        return sum;
    }
    unsigned Count() const { return count_; }

  private:
    u32 values_[N] = {};
    unsigned next_ = 0;
    unsigned count_ = 0;
};

Ring<8> samples;

} // namespace

extern "C" void ring_push(u32 value) {
    samples.Push(value);
}

extern "C" u32 ring_sum(void) {
    return samples.Sum();
}

extern "C" unsigned ring_count(void) {
    return samples.Count();
}
