// Build steps: pre- and post-phase work, output files, makefile commands, optimisation queries.
// Not implemented yet: each answers as a failure (1).
#include "interface/module_state.h"
#include "interface/quorle.h"

using namespace quorle;

extern "C" {

QUORLE_API int QUORLE_CALL PrePhase(const char* phase, const char* inputList, const void* value,
                                    const char* options, const char* text, int32_t* commandReady,
                                    char* command, char* directory, const QuorleProjectInfo* info,
                                    int32_t customLinkage) {
    ModuleStateScope scope;
    return 1;
}

QUORLE_API int QUORLE_CALL PostPhase(const char* phase, const char* text2, const char* text3,
                                     const char* options, const char* text5, intptr_t value,
                                     const char* command, int32_t discardOutput,
                                     const QuorleProjectInfo* info) {
    ModuleStateScope scope;
    return 1;
}

QUORLE_API int QUORLE_CALL GetOutputFiles(const char* phase, const void* p2, const void* p3,
                                          const char* options, int32_t flag, char* buffer,
                                          int32_t* length, const QuorleProjectInfo* info) {
    ModuleStateScope scope;
    return 1;
}

QUORLE_API int QUORLE_CALL GetLinkerInputFiles(const char* phase, const char* options,
                                               const void* p3, char* buffer, int32_t* length,
                                               const QuorleProjectInfo* info) {
    ModuleStateScope scope;
    return 1;
}

QUORLE_API int QUORLE_CALL GenerateMakefileCommand(const char* phase, const char* inputList,
                                                   const void* value, const char* options,
                                                   const char* baseDir, char* textBuffer,
                                                   char** command, char** subcommand,
                                                   const QuorleProjectInfo* info,
                                                   int32_t inlineFlag, int32_t linkerArgument,
                                                   int32_t makefileMode) {
    ModuleStateScope scope;
    return 1;
}

QUORLE_API int QUORLE_CALL GetOptimisationMode(const char* phase, const char* options,
                                               int32_t* mode) {
    ModuleStateScope scope;
    return 1;
}

QUORLE_API int QUORLE_CALL GetOptimisationOptions(const char* phase, const char* options,
                                                  int32_t request, char* buffer, int32_t* length) {
    ModuleStateScope scope;
    return 1;
}

QUORLE_API int QUORLE_CALL GetOptimisationDependency(const char* phase, const char* options,
                                                     int32_t request, char* buffer,
                                                     int32_t* length) {
    ModuleStateScope scope;
    return 1;
}

QUORLE_API int QUORLE_CALL GetStackInformationFile(const char* options, char* buffer,
                                                   int32_t* length) {
    ModuleStateScope scope;
    return 1;
}

} // extern "C"
