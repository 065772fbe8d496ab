#include "host/build_output.h"

namespace quorle::host {

namespace {

// Cut to the width in characters, not bytes, so that a UTF-8 name is not
// split; the middle goes, as the end holds the file name.
std::string Fit(const std::string& text, size_t columns) {
    if (columns < 8) return text;
    std::vector<size_t> starts; // byte offset of each character
    for (size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) starts.push_back(i);
    size_t width = columns - 1; // a full last column would wrap on some terminals
    if (starts.size() <= width) return text;
    size_t keepHead = (width - 3) / 2, keepTail = width - 3 - keepHead;
    return text.substr(0, starts[keepHead]) + "..." + text.substr(starts[starts.size() - keepTail]);
}

} // namespace

BuildOutput::BuildOutput(std::FILE* out, bool statusLine, size_t columns)
    : out_(out), statusLine_(statusLine), columns_(columns) {}

void BuildOutput::Write(const std::string& text) {
    if (out_ == nullptr) return;
    std::fputs(text.c_str(), out_);
}

void BuildOutput::ClearStatus() {
    if (!showing_) return;
    Write("\r\x1b[K");
    showing_ = false;
}

void BuildOutput::ShowStatus() {
    if (status_.empty()) return;
    Write("\r" + Fit(status_, columns_) + "\x1b[K");
    showing_ = true;
    if (out_ != nullptr) std::fflush(out_);
}

void BuildOutput::Line(const std::string& line) {
    ClearStatus();
    Write(line + "\n");
    lastStep_.reset();
    if (statusLine_) ShowStatus();
    if (out_ != nullptr) std::fflush(out_);
}

void BuildOutput::Started(size_t step, const std::string& label) {
    if (statusLine_) {
        status_ = label;
        statusStep_ = step;
        ShowStatus();
        return;
    }
    Write(label + "\n");
    lastStep_ = step;
    if (out_ != nullptr) std::fflush(out_);
}

void BuildOutput::StartedMore(size_t step, const std::string& line) {
    bool own = lastStep_ == step;
    Line(line);
    if (own) lastStep_ = step;
}

void BuildOutput::StepLines(size_t step, const std::string& label,
                            const std::vector<std::string>& lines) {
    if (lines.empty()) return;
    ClearStatus();
    if (statusLine_ || lastStep_ != step) Write(label + "\n");
    for (const std::string& line : lines) Write(line + "\n");
    lastStep_.reset();
    if (statusStep_ == step) { // its line stands above its output already
        status_.clear();
        statusStep_.reset();
    }
    if (statusLine_) ShowStatus();
    if (out_ != nullptr) std::fflush(out_);
}

void BuildOutput::Finish() {
    if (showing_) Write("\n");
    showing_ = false;
    status_.clear();
    statusStep_.reset();
    lastStep_.reset();
    if (out_ != nullptr) std::fflush(out_);
}

} // namespace quorle::host
