#include "host/build_state.h"

#include <nlohmann/json.hpp>

#include "platform/platform.h"

namespace quorle::host {

using nlohmann::json;

std::string BuildState::FileIn(const std::string& configDir) {
    return configDir + "/.quorle-host-state.json";
}

bool BuildState::Load(const std::string& path) {
    records_.clear();
    auto text = platform::ReadFile(path, false);
    if (!text) return true;
    try {
        json root = json::parse(*text);
        for (auto& [key, value] : root.items()) {
            StepRecord record;
            record.options = value.value("options", "");
            record.inputs = value.value("inputs", "");
            records_[key] = record;
        }
        return true;
    } catch (const std::exception&) {
        // A damaged state file only costs a full rebuild.
        records_.clear();
        return false;
    }
}

bool BuildState::Save(const std::string& path) const {
    json root = json::object();
    for (const auto& [key, record] : records_)
        root[key] = {{"options", record.options}, {"inputs", record.inputs}};
    return platform::WriteFile(path, root.dump(1) + "\n", false);
}

const StepRecord* BuildState::Find(const std::string& key) const {
    auto it = records_.find(key);
    return it == records_.end() ? nullptr : &it->second;
}

std::string OutOfDateReason(const UpToDateQuery& query, TimeLookup time) {
    if (query.outputs.empty()) return "it names no outputs";
    if (query.stored == nullptr) return "it was never built";
    if (query.stored->options != query.current.options) return "its options changed";
    if (query.stored->inputs != query.current.inputs) return "its inputs changed";
    int64_t oldest = INT64_MAX;
    for (const std::string& out : query.outputs) {
        auto t = time(out);
        if (!t) return out + " is missing";
        if (*t < oldest) oldest = *t;
    }
    for (const std::string& in : query.reads) {
        auto t = time(in);
        if (!t) return in + " is missing";
        if (*t > oldest) return in + " is newer";
    }
    return "";
}

} // namespace quorle::host
