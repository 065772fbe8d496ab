// A model of the same phase at its defaults, for "Restore defaults".
#pragma once

#include <memory>

#include "models/model_base.h"

namespace quorle::sheet {

// A compiler model keeps the file type of `model`, which decides its
// language and so its default file extensions. Null for an unknown phase.
std::unique_ptr<models::ModelBase> DefaultModelLike(const models::ModelBase& model);

} // namespace quorle::sheet
