#include "host/project_context.h"

#include <filesystem>

#include "host/plain_path.h"
#include "host/text_list.h"

namespace quorle::host {

namespace fs = std::filesystem;

ProjectContext::ProjectContext(const Workspace& workspace, const Project& project,
                               const Configuration& config, const std::string& hostDir,
                               const std::string& tempDir)
    : workspace_(workspace), project_(project) {
    cpuSeries_ = workspace.cpuSeries;
    toolchainName_ = workspace.toolchainName;
    projectName_ = project.name;
    projectDir_ = project.dir;
    configName_ = config.name;
    fs::path dir(config.dir);
    configDir_ =
        (dir.is_absolute() ? dir : fs::path(project.dir) / dir).lexically_normal().generic_string();
    while (configDir_.size() > 1 && configDir_.back() == '/') configDir_.pop_back();
    settingsName_ = workspace.settingsName;
    workspaceDir_ = workspace.dir;
    toolchainDir_ = workspace.toolchainDir;
    hostDir_ = hostDir;
    tempDir_ = tempDir;

    std::vector<std::string> userEntries;
    for (const auto& [name, value] : workspace.placeholders) {
        userEntries.push_back(name + "|" + value);
        placeholders_[name] = value;
    }
    userList_ = JoinNulList(userEntries);

    // The fixed placeholders win over user ones of the same name.
    placeholders_["PROJECTNAME"] = projectName_;
    placeholders_["PROJDIR"] = projectDir_;
    placeholders_["CONFIGDIR"] = configDir_;
    placeholders_["WORKSPDIR"] = workspaceDir_;
    placeholders_["TCINSTALL"] = toolchainDir_;
    placeholders_["TC_INSTALL_DIR"] = toolchainDir_;
    placeholders_["VELMORDIR"] = hostDir_;
    placeholders_["TEMPDIR"] = tempDir_;

    info_.size = sizeof(QuorleProjectInfo);
    info_.cpuSeries = cpuSeries_.c_str();
    info_.toolchainName = toolchainName_.c_str();
    info_.projectName = projectName_.c_str();
    info_.projectDir = projectDir_.c_str();
    info_.configName = configName_.c_str();
    info_.configDir = configDir_.c_str();
    info_.workspaceSettingsName = settingsName_.c_str();
    info_.workspaceDir = workspaceDir_.c_str();
    info_.toolchainDir = toolchainDir_.c_str();
    info_.hostDir = hostDir_.c_str();
    info_.tempDir = tempDir_.c_str();
    info_.userPlaceholders = userList_.c_str();
}

std::string ProjectContext::Expand(const std::string& text, const std::string& fileLeaf) const {
    if (fileLeaf.empty()) return ExpandPlaceholders(text, placeholders_);
    return ExpandPlaceholders(text, placeholders_, {"FILELEAF", fileLeaf});
}

std::string ProjectContext::FilePath(const std::string& file) const {
    std::string expanded = ExpandPlaceholders(file, placeholders_);
    // Most project files are plain paths: spare them the path objects, which
    // cost more than the rest of a no-op build's check of the file.
    if constexpr (kSlashOnly) {
        if (!expanded.empty() && expanded.front() == '/') {
            if (IsPlainAbsolute(expanded)) return expanded;
        } else if (IsPlainAbsolute(projectDir_)) {
            std::string joined = projectDir_ + '/' + expanded;
            if (IsPlainAbsolute(joined)) return joined;
        }
    }
    fs::path p(expanded);
    if (!p.is_absolute()) p = fs::path(projectDir_) / p;
    return p.lexically_normal().generic_string();
}

} // namespace quorle::host
