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

typedef struct QuorleProjectInfo { /* 52 bytes on 32-bit builds */
    uint32_t size;
    const char* cpuSeries;             /* field 2 */
    const char* toolchainName;         /* 3 */
    const char* projectName;           /* 4  $(PROJECTNAME) */
    const char* projectDir;            /* 5  $(PROJDIR) */
    const char* configName;            /* 6 */
    const char* configDir;             /* 7  $(CONFIGDIR) */
    const char* workspaceSettingsName; /* 8 */
    const char* workspaceDir;          /* 9  $(WORKSPDIR) */
    const char* toolchainDir;          /* 10 $(TCINSTALL) */
    const char* hostDir;               /* 11 $(VELMORDIR) */
    const char* tempDir;               /* 12 $(TEMPDIR) */
    const char* userPlaceholders;      /* 13 text list of name|value */
} QuorleProjectInfo;

typedef struct QuorleDependencyRequest { /* 12 */
    uint32_t size;
    const char* path;
    const void* reserved;
} QuorleDependencyRequest;

typedef struct QuorleConfigRecord { /* 12 */
    uint32_t size;
    const char* name;
    const char* dir;
} QuorleConfigRecord;

typedef struct QuorleFileRecord { /* 28 */
    uint32_t size;
    const char* path;
    const char* fileType;
    const void* reserved;
    const int32_t* optionIndex; /* per configuration: index into the phase's option strings */
    int32_t* slotA;             /* per configuration, filled on write-back */
    int32_t* slotB;             /* per configuration, filled on write-back: index in the new list */
} QuorleFileRecord;

typedef struct QuorleProjectEntry { /* 24 */
    uint32_t size;
    const char* name;
    const char* dir;
    QuorleConfigRecord* const* configs; /* NULL-terminated */
    QuorleFileRecord* const* files;     /* NULL-terminated */
    const void* reserved;
} QuorleProjectEntry;

typedef struct QuorlePhaseRecord { /* 20 */
    uint32_t size;
    const char* phase;
    QuorleProjectEntry* const* projects; /* NULL-terminated */
    const char* const* options;          /* NULL-terminated input option strings */
    char** newOptions;                   /* out: NULL-terminated array from the run-time heap */
} QuorlePhaseRecord;

#if defined(__cplusplus) && (UINTPTR_MAX == 0xFFFFFFFFu)
static_assert(sizeof(QuorleProjectInfo) == 52, "project information record");
static_assert(sizeof(QuorleDependencyRequest) == 12, "dependency request record");
static_assert(sizeof(QuorleConfigRecord) == 12, "configuration record");
static_assert(sizeof(QuorleFileRecord) == 28, "file record");
static_assert(sizeof(QuorleProjectEntry) == 24, "project entry record");
static_assert(sizeof(QuorlePhaseRecord) == 20, "phase record");
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
QUORLE_API int QUORLE_CALL GetFileDependencies(const char* phase, const char* filePath,
                                               const char* fileType, const char* text,
                                               const char* options, int32_t batchContinuation,
                                               char** result, const void* reset, const void* p9,
                                               const void* p10, const void* p11,
                                               const QuorleProjectInfo* info,
                                               const QuorleDependencyRequest* request);
QUORLE_API int QUORLE_CALL GetInputFileTypes(const char* phase, char* buffer, int32_t* length);
QUORLE_API int QUORLE_CALL GetOutputFileTypes(const char* phase, char* buffer, int32_t* length);
QUORLE_API int QUORLE_CALL GetEditOptionsSecondaryFileTypes(char* buffer, int32_t* length);
QUORLE_API int QUORLE_CALL GetOutputFiles(const char* phase, const void* p2, const void* p3,
                                          const char* options, int32_t flag, char* buffer,
                                          int32_t* length, const QuorleProjectInfo* info);
QUORLE_API int QUORLE_CALL PrePhase(const char* phase, const char* inputList, const void* value,
                                    const char* options, const char* text, int32_t* commandReady,
                                    char* command, char* directory, const QuorleProjectInfo* info,
                                    int32_t customLinkage);
QUORLE_API int QUORLE_CALL PostPhase(const char* phase, const char* text2, const char* text3,
                                     const char* options, const char* text5, intptr_t value,
                                     const char* command, int32_t discardOutput,
                                     const QuorleProjectInfo* info);
QUORLE_API int QUORLE_CALL GetInformationForDisplay(const char* phaseDisplayName,
                                                    const char* eventKey, intptr_t value,
                                                    char* buffer, int32_t* length);
QUORLE_API int QUORLE_CALL ConvertOptionsForCommandLineDisplay(const char* s1, const char* s2,
                                                               const char* command, char* buffer,
                                                               int32_t* length);
QUORLE_API int QUORLE_CALL GetOutputLineInfo(const char* phase, intptr_t v2, intptr_t v3,
                                             intptr_t v4, const char* line, int32_t* errors,
                                             int32_t* warnings, int32_t* fatals, char* buffer,
                                             int32_t* length, int32_t* isMessage,
                                             const QuorleProjectInfo* info);
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
                                               const void* p3, char* buffer, int32_t* length,
                                               const QuorleProjectInfo* info);

#ifdef __cplusplus
}
#endif

#endif /* QUORLE_H */
