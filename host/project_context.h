// One project in one configuration, as the plug-in sees it: the project
// information record with the texts it points to, and the placeholder values.
#pragma once

#include <string>

#include "host/placeholders.h"
#include "host/workspace.h"
#include "interface/quorle.h"

namespace quorle::host {

class ProjectContext {
  public:
    ProjectContext(const Workspace& workspace, const Project& project, const Configuration& config,
                   const std::string& hostDir, const std::string& tempDir);
    ProjectContext(const ProjectContext&) = delete;
    ProjectContext& operator=(const ProjectContext&) = delete;

    const QuorleProjectInfo& info() const { return info_; }
    const Workspace& workspace() const { return workspace_; }
    const Project& project() const { return project_; }
    const std::string& configName() const { return configName_; }
    const std::string& configDir() const { return configDir_; }
    const std::string& toolchainDir() const { return toolchainDir_; }

    // Placeholders of the project; `fileLeaf` is the value of "$(FILELEAF)".
    std::string Expand(const std::string& text, const std::string& fileLeaf) const;
    // A project file as an absolute path.
    std::string FilePath(const std::string& file) const;

  private:
    const Workspace& workspace_;
    const Project& project_;
    std::string cpuSeries_, toolchainName_, projectName_, projectDir_, configName_, configDir_,
        settingsName_, workspaceDir_, toolchainDir_, hostDir_, tempDir_, userList_;
    PlaceholderMap placeholders_;
    QuorleProjectInfo info_{};
};

} // namespace quorle::host
