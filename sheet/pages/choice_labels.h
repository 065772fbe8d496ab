// The labels of a choice's rows, in the form the page builders take.
#pragma once

#include <string>
#include <vector>

#include "models/flag_option.h"

namespace quorle::sheet {

template <size_t N> std::vector<std::string> LabelsOf(const models::ChoiceOption (&rows)[N]) {
    std::vector<std::string> labels;
    for (const models::ChoiceOption& row : rows) labels.emplace_back(row.label);
    return labels;
}

} // namespace quorle::sheet
