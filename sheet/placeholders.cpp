#include "sheet/placeholders.h"

#include "core/records.h"
#include "core/text_replace.h"
#include "toolchain/family.h"

namespace quorle::sheet {

std::vector<std::pair<std::string, std::string>> UserPlaceholders(const QuorleProjectInfo* info) {
    std::vector<std::pair<std::string, std::string>> out;
    if (info == nullptr || info->userPlaceholders == nullptr) return out;
    for (const char* p = info->userPlaceholders; *p != '\0';
         p += std::char_traits<char>::length(p) + 1) {
        std::string entry(p);
        size_t bar = entry.find('|');
        if (bar == 0) continue;
        out.emplace_back(entry.substr(0, bar),
                         bar == std::string::npos ? std::string() : entry.substr(bar + 1));
    }
    return out;
}

std::vector<PlaceholderOffer> PlaceholderOffers(const QuorleProjectInfo* info) {
    std::vector<PlaceholderOffer> offers = {
        {"Workspace directory", "$(WORKSPDIR)"},
        {"Project directory", "$(PROJDIR)"},
        {"Configuration directory", "$(CONFIGDIR)"},
        {"Temporary directory", "$(TEMPDIR)"},
        {"File directory", "$(FILEDIR)"},
        {"Toolchain install directory", "$(TCINSTALL)"},
        {"Velmor installation directory", "$(VELMORDIR)"},
        {"Custom directory", ""},
    };
    for (const auto& [name, value] : UserPlaceholders(info))
        offers.push_back({"$(" + name + ")", "$(" + name + ")"});
    return offers;
}

std::string ExpandPlaceholders(const std::string& entry, const QuorleProjectInfo* info) {
    if (info == nullptr || entry.find("$(") == std::string::npos) return entry;
    std::string out = entry;
    auto replace = [&out](const char* name, const char* value) {
        if (value != nullptr) core::ReplaceAll(out, name, value);
    };
    replace("$(WORKSPDIR)", info->workspaceDir);
    replace("$(PROJDIR)", info->projectDir);
    replace("$(CONFIGDIR)", info->configDir);
    replace("$(TEMPDIR)", info->tempDir);
    replace("$(TCINSTALL)", info->toolchainDir);
    replace("$(VELMORDIR)", info->hostDir);
    replace("$(PROJECTNAME)", info->projectName);
    for (const auto& [name, value] : UserPlaceholders(info))
        core::ReplaceAll(out, "$(" + name + ")", value);
    return out;
}

std::vector<std::string> DisplayedEntries(const std::vector<std::string>& entries,
                                          const SharedState& shared) {
    if ((shared.settings & toolchain::kShowPlaceholdersExpanded) == 0) return entries;
    std::vector<std::string> shown;
    shown.reserve(entries.size());
    for (const std::string& entry : entries)
        shown.push_back(ExpandPlaceholders(entry, shared.info));
    return shown;
}

} // namespace quorle::sheet
