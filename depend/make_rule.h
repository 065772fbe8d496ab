// Reading what the compiler driver prints for "-M": a make rule naming the
// source's headers, or the driver's error messages.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorle::depend {

// Items for the messages of a failed scan, each "ERROR|" and one message.
std::vector<std::string> ParseDriverErrors(std::string_view output);

// Dependency items "path|TRUE|type" or "path|FALSE|type" from a make rule,
// the last dependency first. The target and the source itself are dropped;
// "/" becomes "\\"; a path that begins with one of `systemDirs` is TRUE.
std::vector<std::string> ParseMakeRule(std::string_view output, std::string_view sourcePath,
                                       const std::vector<std::string>& systemDirs,
                                       std::string_view headerType);

// The whole reading of the driver's output: nothing for a driver that
// thought it was asked to link, error items when it reports an error,
// dependency items otherwise.
std::vector<std::string> ParseDriverOutput(std::string_view output, std::string_view sourcePath,
                                           const std::vector<std::string>& systemDirs,
                                           std::string_view headerType);

} // namespace quorle::depend
