// Every option set of the sheet and the maps that find them: by content
// ("phase|text") and by position ("phase|index" of the host's input string).
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sheet/host_records.h"
#include "sheet/option_set.h"

namespace quorle::sheet {

class COptionSets {
  public:
    // One model per distinct serialised text of each phase record, in input
    // order; identical texts share the first model.
    explicit COptionSets(const HostRecords& records);

    // The set input position `position` of phase record `record` read to
    // when the sheet opened.
    COptionSet* AtPosition(size_t record, int position) const {
        return m_aPositions[record][static_cast<size_t>(position)];
    }
    const std::vector<std::unique_ptr<COptionSet>>& All() const { return m_aSets; }
    // Every set by content key, as keyed when the sheet opened (the dump
    // heads it "m_mapOption").
    const std::map<std::string, COptionSet*>& ByContent() const { return m_mapOption; }
    // The position map, key "%s|%d".
    const std::map<std::string, COptionSet*>& ByPosition() const { return m_mapPosition; }
    size_t RecordCount() const { return m_aPositions.size(); }
    size_t PositionCount(size_t record) const { return m_aPositions[record].size(); }
    // A new set of the same record holding a copy of `from`'s model, for
    // leaves that must stop sharing it. It remembers `from`'s opening text.
    COptionSet* Copy(const COptionSet& from);

  private:
    std::vector<std::unique_ptr<COptionSet>> m_aSets;
    std::map<std::string, COptionSet*> m_mapOption;
    std::map<std::string, COptionSet*> m_mapPosition;
    std::vector<std::vector<COptionSet*>> m_aPositions; // per record, per input position
};

// The diagnostic dump: the selected sets, all sets, the position array the
// manager holds and the host's input strings, under their four headings.
std::string DumpOptionSets(const HostRecords& records, const COptionSets& sets,
                           const std::vector<COptionSet*>& selected);

} // namespace quorle::sheet
