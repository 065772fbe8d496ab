// Global objects whose constructors must have run before main. The two with
// an init_priority land in .init_array.00101 and .init_array.00200, the
// plain one in .init_array; the layout sorts the first by priority and puts
// .init_array after them, so they run 101, 200, then the plain one,
// whatever their order here.
#include "objects.h"

namespace {

// .bss: zero when the constructors start, 0xA5 bytes if .bss was not zeroed.
unsigned constructed;
unsigned order[3];

class Recorder {
  public:
    explicit Recorder(unsigned id) : id_(id) {
        if (constructed < 3) order[constructed] = id;
        ++constructed;
    }
    unsigned Id() const { return id_; }

  private:
    unsigned id_; // 0 (from .bss) unless the constructor ran
};

Recorder plain{3};
Recorder late __attribute__((init_priority(200))){2};
Recorder early __attribute__((init_priority(101))){1};

} // namespace

extern "C" int objects_constructed_in_order(void) {
    return constructed == 3 && order[0] == 1 && order[1] == 2 && order[2] == 3 && early.Id() == 1 &&
           late.Id() == 2 && plain.Id() == 3;
}
