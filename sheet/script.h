// The scripted face of the sheet: a script of TAB-separated lines carried
// out against the sheet with no window, and the transcript it appends.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sheet/sheet.h"

namespace quorle::sheet {

// Most fields one line may have: each costs a string, so a line of nothing
// but tabs would otherwise take many times its size.
inline constexpr size_t kMaxScriptFields = size_t{1} << 16;

struct ScriptLine {
    int number = 0; // physical line, from 1
    std::vector<std::string> fields;
    bool tooManyFields = false; // more than kMaxScriptFields; the rest left out
};

// A script's lines one at a time, so that only the line being carried out is
// held apart from the text. Blank lines and lines starting with "#" are left
// out; a CR before the line feed is dropped.
class ScriptReader {
  public:
    explicit ScriptReader(const std::string& text) : text_(text) {}
    // The next line to carry out; false at the end of the script.
    bool Next(ScriptLine& line);

  private:
    const std::string& text_;
    size_t position_ = 0;
    int number_ = 0;
};

// Appends "name: value" lines to a file; does nothing without one.
class CTranscript {
  public:
    explicit CTranscript(std::optional<std::string> path) : path_(std::move(path)) {}
    void Line(const std::string& name, const std::string& value) const;
    // Text written as it stands (the dump between its two lines).
    void Raw(const std::string& text) const;
    // False when a file is named that cannot take the lines: it is not a
    // regular file (a FIFO, a device) or cannot be written.
    bool Usable() const;

  private:
    std::optional<std::string> path_;
};

// The observer that writes the sheet's events to the transcript.
class CTranscriptObserver : public CSheetObserver {
  public:
    explicit CTranscriptObserver(const CTranscript& transcript) : transcript_(transcript) {}
    void OnTabsChanged(const std::vector<std::string>& titles) override;
    void OnCategoryShown(const std::string& label) override;
    void OnPreview(const std::string& text) override;

  private:
    const CTranscript& transcript_;
};

// Message boxes of the scripted face: always through the message-box
// contract (answers from QUORLE_ANSWERS, lines to QUORLE_MESSAGES).
class CLoggedMessages : public CMessageSink {
  public:
    platform::MessageAnswer Show(const std::string& caption, const std::string& text,
                                 platform::MessageButtons buttons) override;
};

// Carries out the lines in order until `ok` or `cancel` (the end counts as
// `cancel`). Returns 0 after OK, -1 after Cancel, 1 when a line cannot be
// carried out (its `error:` line written, nothing handed back).
int RunScript(CSheetBase& sheet, const std::string& script, const CTranscript& transcript);

} // namespace quorle::sheet
