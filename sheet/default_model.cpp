#include "sheet/default_model.h"

#include "sheet/option_set.h"

namespace quorle::sheet {

std::unique_ptr<models::ModelBase> DefaultModelLike(const models::ModelBase& model) {
    if (const auto* compiler = As<models::CompilerModel>(&model))
        return std::make_unique<models::CompilerModel>(compiler->fileType_, "");
    return MakeModel(static_cast<int>(model.Kind()), "");
}

} // namespace quorle::sheet
