/* Quorle: the build-phase plug-in's whole interface to its host.
 *
 * All records are plain C structs; every field after `size` is a pointer.
 * The plug-in compares a record's size field with the record's size on the
 * build it was compiled for: 52 / 12 / 12 / 28 / 24 / 20 bytes on 32-bit
 * builds, sizeof on 64-bit builds.
 *
 * Results: 0 success, 1 failure (PrePhase and GenerateMakefileCommand also 2,
 * nothing to do; EditOptions -1 for a cancelled sheet). A null required
 * pointer gives 1 without any work. Buffers belong to the caller: the
 * required size is always stored through `length`, and a capacity that is
 * too small (or negative) gives 1 and leaves the buffer untouched.
 */
#ifndef QUORLE_H
#define QUORLE_H

#include <stdint.h>

#include "core/records.h"

#if defined(_WIN32)
#define QUORLE_CALL __cdecl
#if defined(QUORLE_BUILDING_DLL)
#define QUORLE_API __declspec(dllexport)
#else
#define QUORLE_API
#endif
#else
#define QUORLE_CALL
#define QUORLE_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

QUORLE_API int QUORLE_CALL GetDLLInterfaceVersion(uint32_t* major, uint32_t* minor);
QUORLE_API int QUORLE_CALL GetDLLProductVersion(char* buffer, int32_t* length);
QUORLE_API int QUORLE_CALL GetDLLOrdinalVersion(uint32_t* value);
QUORLE_API int QUORLE_CALL GetDLLType(char* buffer, int32_t* length);
QUORLE_API int QUORLE_CALL GetBuildPhaseInformation(const char* phase, char* buffer,
                                                    int32_t* length);
QUORLE_API int QUORLE_CALL GetSupportedFileExtensions(char* buffer, int32_t* length);
QUORLE_API int QUORLE_CALL GetSyntaxColouringInformation(const char* fileType, char* buffer,
                                                         int32_t* length);
QUORLE_API int QUORLE_CALL GetDefaultOptions(const char* phase, const char* configuration,
                                             const char* fileType, char* buffer, int32_t* length);
QUORLE_API int QUORLE_CALL EditOptions(QuorlePhaseRecord* const* phases,
                                       const char* resourceDirFile, const QuorleProjectInfo* info);
QUORLE_API int QUORLE_CALL GetFileDependencies(
    const char* phase, const char* filePath, const char* fileType, const char* text,
    const char* options, int32_t batchContinuation, char** result, const void* reset,
    const void* requiredPointer1, const void* requiredPointer2, const void* requiredPointer3,
    const QuorleProjectInfo* info, const QuorleDependencyRequest* request);
QUORLE_API int QUORLE_CALL GetInputFileTypes(const char* phase, char* buffer, int32_t* length);
QUORLE_API int QUORLE_CALL GetOutputFileTypes(const char* phase, char* buffer, int32_t* length);
QUORLE_API int QUORLE_CALL GetEditOptionsSecondaryFileTypes(char* buffer, int32_t* length);
QUORLE_API int QUORLE_CALL GetOutputFiles(const char* phase, const void* requiredPointer1,
                                          const void* requiredPointer2, const char* options,
                                          int32_t compilerFlag, char* buffer, int32_t* length,
                                          const QuorleProjectInfo* info);
QUORLE_API int QUORLE_CALL PrePhase(const char* phase, const char* inputList, const void* value,
                                    const char* options, const char* text, int32_t* commandReady,
                                    char* command, char* directory, const QuorleProjectInfo* info,
                                    int32_t customLinkage);
QUORLE_API int QUORLE_CALL PostPhase(const char* phase, const char* requiredText1,
                                     const char* requiredText2, const char* options,
                                     const char* requiredText3, intptr_t unreadValue,
                                     const char* command, int32_t discardOutput,
                                     const QuorleProjectInfo* info);
QUORLE_API int QUORLE_CALL GetInformationForDisplay(const char* phaseDisplayName,
                                                    const char* eventKey, intptr_t value,
                                                    char* buffer, int32_t* length);
QUORLE_API int QUORLE_CALL ConvertOptionsForCommandLineDisplay(const char* requiredText1,
                                                               const char* requiredText2,
                                                               const char* command, char* buffer,
                                                               int32_t* length);
QUORLE_API int QUORLE_CALL GetOutputLineInfo(const char* phase, intptr_t unreadValue1,
                                             intptr_t unreadValue2, intptr_t unreadValue3,
                                             const char* line, int32_t* errors, int32_t* warnings,
                                             int32_t* fatals, char* buffer, int32_t* length,
                                             int32_t* isMessage, const QuorleProjectInfo* info);
QUORLE_API int QUORLE_CALL GetCodeNavigationItems(const char* text, char* buffer, int32_t* length);
QUORLE_API int QUORLE_CALL GenerateMakefileCommand(const char* phase, const char* inputList,
                                                   const void* value, const char* options,
                                                   const char* baseDir, char* textBuffer,
                                                   char** command, char** subcommand,
                                                   const QuorleProjectInfo* info,
                                                   int32_t inlineFlag, int32_t linkerArgument,
                                                   int32_t makefileMode);
QUORLE_API int QUORLE_CALL GetOptimisationMode(const char* phase, const char* options,
                                               int32_t* mode);
QUORLE_API int QUORLE_CALL GetOptimisationOptions(const char* phase, const char* options,
                                                  int32_t request, char* buffer, int32_t* length);
QUORLE_API int QUORLE_CALL GetOptimisationDependency(const char* phase, const char* options,
                                                     int32_t request, char* buffer,
                                                     int32_t* length);
QUORLE_API void QUORLE_CALL FreeSimpleType(void* block);
QUORLE_API int QUORLE_CALL GetStackInformationFile(const char* options, char* buffer,
                                                   int32_t* length);
QUORLE_API int QUORLE_CALL GetLinkerInputFiles(const char* phase, const char* options,
                                               const void* requiredPointer, char* buffer,
                                               int32_t* length, const QuorleProjectInfo* info);

#ifdef __cplusplus
}
#endif

#endif /* QUORLE_H */
