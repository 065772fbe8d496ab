// Pieces shared by the per-phase line rules.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorle::output::detail {

// Words of a line split at blanks; runs of blanks give no empty words.
std::vector<std::string_view> SplitWords(std::string_view line);

// Keywords are found anywhere inside a word, in three spellings each.
bool HasErrorKeyword(std::string_view word);
bool HasWarningKeyword(std::string_view word);
bool HasFatalKeyword(std::string_view word);

// True when the line starts with one of the line-feed separated prefixes.
bool StartsWithAnyOf(std::string_view prefixes, std::string_view line);

struct RecordFields {
    std::string file;
    std::string line;
    std::string message;
};

// The GNU form "file:line:message"; colons of drive letters and paths stay
// in the file part.
RecordFields GnuRecord(std::string_view line);
// The native form "file(line) : message"; false when the line lacks it.
bool NativeRecord(std::string_view line, RecordFields& fields);
// The record of a line that no rule recognised: "None", "None", the line.
RecordFields UnrecognisedRecord(std::string_view line);

// Decimal message number of a native message code such as "C2500" or "DA201".
std::string MessageNumber(std::string_view code);

// An absolute Windows path without "." and ".." components; other texts are
// returned unchanged.
std::string CanonicalIfAbsolute(std::string_view path);

} // namespace quorle::output::detail
