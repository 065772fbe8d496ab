// Runs EditOptions the way a host does, with a script, a transcript and the
// message-box log in a fresh directory.
#pragma once

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "host_fixture.h"
#include "interface/quorle.h"
#include "platform/platform.h"
#include "support/temp_dir.h"
#include "support/test_files.h"

namespace quorle::sheet_test {

// A path in the directory that holds the resource library.
inline std::string PluginPath() {
    return std::string(QUORLE_RESOURCE_DIR) + "/Quorle.dll";
}

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class ScriptRun {
  public:
    explicit ScriptRun(const std::string& name) : temp_(name), dir_(temp_.Root()) {}

    int Run(HostRecordsFixture& host, const QuorleProjectInfo* info, const std::string& script,
            const std::string& answers = "", const std::string& plugin = PluginPath()) {
        std::filesystem::path scriptFile = dir_ / "script.txt";
        platform::WriteFile(scriptFile.string(), script, false);
        platform::SetEnv("QUORLE_SHEET_SCRIPT", scriptFile.string());
        platform::SetEnv("QUORLE_SHEET_LOG", (dir_ / "log.txt").string());
        platform::SetEnv("QUORLE_MESSAGES", (dir_ / "messages.txt").string());
        platform::SetEnv("QUORLE_ANSWERS", answers);
        int result = EditOptions(host.List(), plugin.c_str(), info);
        for (const char* name :
             {"QUORLE_SHEET_SCRIPT", "QUORLE_SHEET_LOG", "QUORLE_MESSAGES", "QUORLE_ANSWERS"})
            platform::UnsetEnv(name);
        return result;
    }

    std::vector<std::string> Log() const {
        return Lines(testing_support::ReadBytes(dir_ / "log.txt"));
    }
    std::vector<std::string> Messages() const {
        return Lines(testing_support::ReadBytes(dir_ / "messages.txt"));
    }
    const std::filesystem::path& Dir() const { return dir_; }
    // True when the transcript has this line.
    bool Logged(const std::string& line) const {
        for (const std::string& l : Log())
            if (l == line) return true;
        return false;
    }

  private:
    testing_support::TempDir temp_;
    std::filesystem::path dir_;
};

} // namespace quorle::sheet_test
