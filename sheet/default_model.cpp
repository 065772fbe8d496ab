#include "sheet/default_model.h"

#include "sheet/option_set.h"

namespace quorle::sheet {

std::unique_ptr<models::CModelBase> DefaultModelLike(const models::CModelBase& model) {
    if (const auto* compiler = As<models::CCompilerModel>(&model))
        return std::make_unique<models::CCompilerModel>(compiler->m_strFileType, "");
    return MakeModel(static_cast<int>(model.Kind()), "");
}

} // namespace quorle::sheet
