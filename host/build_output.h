// What a build prints while it runs. On a terminal the progress is one
// status line written over in place; elsewhere (a pipe, a log, -v) each
// step gets a line of its own. A step's tool output is printed together,
// below the step's own line, even when other steps started in between.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace quorle::host {

class BuildOutput {
  public:
    // `out` nullptr: silent. `statusLine`: rewrite one line in place, cut
    // to `columns` (0: not cut).
    BuildOutput(std::FILE* out, bool statusLine, size_t columns);

    // A line of its own, not tied to a step.
    void Line(const std::string& line);
    // A step has started: "[3/8] Compiling src/main.c".
    void Started(size_t step, const std::string& label);
    // A line about a step that has just started (its command, with -v); it
    // stays the step's, so the step's output need not repeat the step's line.
    void StartedMore(size_t step, const std::string& line);
    // What a finished step printed; its own line goes above when other text
    // came between.
    void StepLines(size_t step, const std::string& label, const std::vector<std::string>& lines);
    // Leaves the last status line standing, as the line above what follows.
    void Finish();

  private:
    void Write(const std::string& text);
    void ClearStatus();
    void ShowStatus();

    std::FILE* out_;
    bool statusLine_;
    size_t columns_;
    std::string status_;               // the status line's text
    std::optional<size_t> statusStep_; // the step it names
    bool showing_ = false;             // the status line is on the screen, the cursor after it
    std::optional<size_t> lastStep_;   // the step whose line is the last one printed
};

} // namespace quorle::host
