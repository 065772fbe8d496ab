// Catalogue queries: phases, file types, default options, progress texts.
// Not implemented yet: each answers as a failure (1).
#include "interface/module_state.h"
#include "interface/quorle.h"

using namespace quorle;

extern "C" {

QUORLE_API int QUORLE_CALL GetBuildPhaseInformation(const char* phase, char* buffer,
                                                    int32_t* length) {
    ModuleStateScope scope;
    return 1;
}

QUORLE_API int QUORLE_CALL GetSupportedFileExtensions(char* buffer, int32_t* length) {
    ModuleStateScope scope;
    return 1;
}

QUORLE_API int QUORLE_CALL GetDefaultOptions(const char* phase, const char* configuration,
                                             const char* fileType, char* buffer, int32_t* length) {
    ModuleStateScope scope;
    return 1;
}

QUORLE_API int QUORLE_CALL GetInputFileTypes(const char* phase, char* buffer, int32_t* length) {
    ModuleStateScope scope;
    return 1;
}

QUORLE_API int QUORLE_CALL GetOutputFileTypes(const char* phase, char* buffer, int32_t* length) {
    ModuleStateScope scope;
    return 1;
}

QUORLE_API int QUORLE_CALL GetEditOptionsSecondaryFileTypes(char* buffer, int32_t* length) {
    ModuleStateScope scope;
    return 1;
}

QUORLE_API int QUORLE_CALL GetInformationForDisplay(const char* phaseDisplayName,
                                                    const char* eventKey, intptr_t value,
                                                    char* buffer, int32_t* length) {
    ModuleStateScope scope;
    return 1;
}

QUORLE_API int QUORLE_CALL ConvertOptionsForCommandLineDisplay(const char* s1, const char* s2,
                                                               const char* command, char* buffer,
                                                               int32_t* length) {
    ModuleStateScope scope;
    return 1;
}

} // extern "C"
