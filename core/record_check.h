// The one check of a host record's size field. A record whose size differs
// from the layout this build was compiled for is refused as a whole.
#pragma once

#include "core/records.h"

namespace quorle {

template <typename Record> bool HasRecordSize(const Record* record) {
    return record != nullptr && record->size == sizeof(Record);
}

} // namespace quorle
