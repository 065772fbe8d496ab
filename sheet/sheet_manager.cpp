#include "sheet/sheet_manager.h"

namespace quorle::sheet {

CSheetManager::Scope::Scope(CSheetManager& manager, const char* traceName) : manager_(manager) {
    ++manager_.nesting_;
    manager_.trace_.emplace_back(traceName);
}

CSheetManager::Scope::~Scope() {
    --manager_.nesting_;
    manager_.trace_.pop_back();
}

} // namespace quorle::sheet
