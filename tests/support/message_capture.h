// Captures the message boxes shown during a test through QUORLE_MESSAGES.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/platform.h"

class MessageCapture {
  public:
    explicit MessageCapture(const std::string& name)
        : path_(std::filesystem::path(testing::TempDir()) / ("quorle_messages_" + name + ".log")) {
        std::filesystem::remove(path_);
        quorle::platform::SetEnv("QUORLE_MESSAGES", path_.string());
    }
    ~MessageCapture() { quorle::platform::UnsetEnv("QUORLE_MESSAGES"); }

    // Every logged line: caption, tab, escaped text, tab, answer.
    std::string Text() const {
        std::ifstream in(path_);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }

  private:
    std::filesystem::path path_;
};
