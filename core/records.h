/* The host's records: plain C structs whose fields after `size` are all
 * pointers. Each record starts with its own size in bytes: 52 / 12 / 12 / 28 /
 * 24 / 20 on 32-bit builds, sizeof on 64-bit builds. Part of the chief header;
 * kept apart so that every layer of the plug-in can use the records without
 * reaching up to the exports.
 */
#ifndef QUORLE_CORE_RECORDS_H
#define QUORLE_CORE_RECORDS_H

#include <stdint.h>

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

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* QUORLE_CORE_RECORDS_H */
