// A state text read a piece at a time: lines are read as they complete,
// and only a line cut between two pieces is copied. Private to the state.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/build_state.h"

namespace quorle::host {

class BuildState::StateReader {
  public:
    explicit StateReader(BuildState& state) : state_(state) {}
    void Feed(std::string_view piece);
    StateReading Finish();

  private:
    // Table index to path id; kBadPath for a path line that did not read, so
    // the records that name it are dropped, not pointed elsewhere.
    static constexpr uint32_t kBadPath = UINT32_MAX;
    struct TablePath {
        uint32_t id;
        PackedTime time;
    };
    void Bad() {
        if (reading_.badLines++ == 0) reading_.firstBad = number_;
    }
    void Line(std::string_view line);

    BuildState& state_;
    StateReading reading_;
    size_t number_ = 0;
    bool ignored_ = false; // not this format: nothing in it counts
    std::vector<TablePath> table_;
    std::string carry_;
};

} // namespace quorle::host
