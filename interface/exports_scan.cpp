// Dependency scans, tool output classification and syntax colouring.
// Not implemented yet: each answers as a failure (1).
#include "interface/module_state.h"
#include "interface/quorle.h"

using namespace quorle;

extern "C" {

QUORLE_API int QUORLE_CALL GetFileDependencies(const char* phase, const char* filePath,
                                               const char* fileType, const char* text,
                                               const char* options, int32_t batchContinuation,
                                               char** result, const void* reset, const void* p9,
                                               const void* p10, const void* p11,
                                               const QuorleProjectInfo* info,
                                               const QuorleDependencyRequest* request) {
    ModuleStateScope scope;
    return 1;
}

QUORLE_API int QUORLE_CALL GetOutputLineInfo(const char* phase, intptr_t v2, intptr_t v3,
                                             intptr_t v4, const char* line, int32_t* errors,
                                             int32_t* warnings, int32_t* fatals, char* buffer,
                                             int32_t* length, int32_t* isMessage,
                                             const QuorleProjectInfo* info) {
    ModuleStateScope scope;
    return 1;
}

QUORLE_API int QUORLE_CALL GetSyntaxColouringInformation(const char* fileType, char* buffer,
                                                         int32_t* length) {
    ModuleStateScope scope;
    return 1;
}

} // extern "C"
