// Generator phase: a compressed library beside the requested path.
#include "core/records.h"
#include "depend/dependency_scan.h"
#include "core/path_text.h"
#include "depend/scan_lists.h"

namespace quorle::depend {

int ScanGenerator(const ScanCall& call) {
    if (call.reset) return 0;
    if (call.filePath == nullptr || call.fileType == nullptr || call.text == nullptr ||
        call.options == nullptr || call.result == nullptr || call.extra[0] == nullptr ||
        call.extra[1] == nullptr || call.extra[2] == nullptr || !ValidProjectInfo(call.info) ||
        !ValidRequest(call.request) || call.request->path == nullptr)
        return 1;
    std::string_view requested = call.request->path;
    std::string dir(DirectoryWithSeparator(requested));
    std::string list;
    for (const std::string& name : platform::FindFiles(dir + "*.pak")) {
        std::string full = platform::FullPath(dir + name);
        if (platform::IsDirectory(full)) continue;
        list = full + "|FALSE|Library compressed file";
        break;
    }
    list.append("\n");
    return HandOutLines(list, call.result);
}

} // namespace quorle::depend
