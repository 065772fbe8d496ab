// The labels of a choice's rows, in the form the page builders take.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "models/flag_option.h"

namespace quorle::sheet {

inline std::vector<std::string> LabelsOf(std::span<const models::ChoiceOption> rows) {
    std::vector<std::string> labels;
    for (const models::ChoiceOption& row : rows) labels.emplace_back(row.label);
    return labels;
}

} // namespace quorle::sheet
