// Shared set-up for the build-step tests: a scratch directory, a project
// information record pointing into it, and the message, answer and registry
// files of the platform layer redirected into it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "interface/quorle.h"

namespace quorle::testing {

class ScratchProject {
  public:
    ScratchProject();
    ~ScratchProject();

    // Backslash-free native paths of the scratch tree.
    std::string root;
    std::string configDir;
    std::string toolchainDir;

    std::string toolchainName = "Dravik GNUCORVO [ELF]";
    std::string cpuSeries = "CORVO";
    std::string projectName = "demo";
    std::string configName = "DEBUG";

    // The record, rebuilt from the texts above on every call.
    const QuorleProjectInfo* Info();

    std::string Path(const std::string& relative) const { return root + "/" + relative; }
    void WriteText(const std::string& path, const std::string& text) const;
    std::string ReadBytes(const std::string& path) const;

    // Lines that message boxes, dialogs and shell launches logged so far.
    std::vector<std::string> MessageLines() const;
    void QueueAnswers(const std::string& answers) const;

    // Copies the recorder over the archiver and object copier of every family.
    void InstallStandInTools() const;
    std::string ToolLogPath() const { return root + "/tools.log"; }
    std::vector<std::string> ToolCalls() const;

  private:
    QuorleProjectInfo info_{};
    std::string userPlaceholders_ = std::string("\0", 1);
};

} // namespace quorle::testing
