// Linker phase: the sub-command file, when the options name one.
#include <string>

#include "core/records.h"
#include "depend/dependency_scan.h"
#include "depend/scan_guards.h"
#include "depend/scan_lists.h"
#include "depend/scan_settings.h"

namespace quorle::depend {
namespace {

constexpr std::string_view kMapOptimisationFile = "$(CONFIGDIR)\\$(PROJECTNAME).bls";

bool IsRooted(std::string_view path) {
    if (path.size() >= 2 && path[1] == ':') path.remove_prefix(2);
    return !path.empty() && (path[0] == '\\' || path[0] == '/');
}

} // namespace

ScanOutcome ScanLinker(const ScanCall& call) {
    if (call.reset) return {0, {}};
    if (call.filePath == nullptr || call.fileType == nullptr || call.text == nullptr ||
        call.options == nullptr || call.result == nullptr || call.extra[0] == nullptr ||
        call.extra[1] == nullptr || call.extra[2] == nullptr || !ValidProjectInfo(call.info) ||
        !ValidRequest(call.request))
        return {1, {}};
    CurrentDirectoryGuard directory;
    if (!directory.Saved()) return {1, {}};
    if (!directory.Enter(call.info->configDir ? call.info->configDir : "")) return {1, {}};

    std::string list;
    LinkerSubcommandFile file = ReadLinkerSubcommandFile(call.options, kMapOptimisationFile);
    if (file.path) {
        std::string full = platform::FullPath(*file.path);
        if (full.empty()) return {HandOutLines("\n\n", call.result), std::move(file.messages)};
        if (IsRooted(full)) {
            if (!platform::FileExists(full)) {
                list = "ERROR|** DL201 (E) The specified file does not exist '" + full + "'\n";
            } else if (platform::IsDirectory(full)) {
                list =
                    "ERROR|** DL202 (E) Directory instead of file is specified as '" + full + "'\n";
            } else {
                list = full + "|FALSE|Subcommand file\n";
            }
        }
    }
    list.append("\n");
    return {HandOutLines(list, call.result), std::move(file.messages)};
}

} // namespace quorle::depend
