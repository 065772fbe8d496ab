// The pieces of the post-phase work that need no options model: the build
// report, the archive and S-record steps, and the removal of temporary files.
#pragma once

#include <string>
#include <string_view>

#include "phases/run_tool.h"

struct QuorleProjectInfo;

namespace quorle::phases {

// Toolchain name, "-", and the last component of the installation directory.
std::string BuildTag(const QuorleProjectInfo& info);
// The local date and time in the report's format (C locale).
std::string ReportDate();

// The separator and header that start every report.
std::string ReportHeading(std::string_view buildTag, std::string_view date);

// Appends to an existing list file: the heading, "Build options:" and every
// line of the sub-command file. Nothing happens unless both files open.
void AppendListReport(const std::string& listFile, const std::string& subcommandFile,
                      std::string_view buildTag, std::string_view date);

// Appends to an existing map file: the heading, then either the note that the
// user gave the sub-command file, or the generated sub-command file and the
// linker input file (both must open). Returns false when the map file did not open.
bool AppendMapReport(const std::string& mapFile, bool userSubcommandFile,
                     const std::string& subcommandFile, const std::string& linkerInputFile,
                     std::string_view buildTag, std::string_view date);

// The archiver's and object copier's command lines. An empty text when the
// toolchain name names no family (the step then cannot run).
std::string ArchiveCommand(const QuorleProjectInfo& info, std::string_view objectFile);
std::string SRecordCommand(const QuorleProjectInfo& info, std::string_view options);

// Adds `objectFile` to the project's archive.
StepOutcome RunArchiveStep(const QuorleProjectInfo& info, std::string_view objectFile);
// Converts the project's ".x" file to ".mot".
StepOutcome RunSRecordStep(const QuorleProjectInfo& info, std::string_view options);

// Deletes the temporary files that a sub-command file lists after banner
// lines. Only plain files on the same volume as the sub-command file are
// deleted; wildcards, empty names and directories are left alone. Returns the
// number of files deleted.
int DeleteTemporaryFiles(const std::string& subcommandFile, std::string_view banner);

} // namespace quorle::phases
