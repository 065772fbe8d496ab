// Finding the ".INCLUDE" files of an assembly source without running a tool.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace quorle::depend {

// Reading errors of the scanner, as message codes.
enum ScanCode : int {
    kScanOk = 0,
    kCannotOpen = 1,       // DA301
    kCannotRead = 2,       // DA302
    kSyntaxError = 6,      // DA306
    kHeaderMissing = 1000, // DA201
    kIsDirectory = 1001,   // DA202
};

// The text of a scanner message code ("%s" stands for the include name).
std::string_view ScanMessage(int code);

struct IncludeEntry {
    std::string quotedName; // with its double quotes
    int line = 0;           // counted from 1
};

struct IncludeReading {
    std::vector<IncludeEntry> entries;
    int code = kScanOk; // non-zero: the reading stopped at `line`
    int line = 0;
};

// The include entries of a source's text (line ends "\n" or "\r\n").
IncludeReading ReadIncludeEntries(std::string_view text);

struct IncludeScanInput {
    std::string sourcePath;
    std::string sourceType; // host file-type name of the source
    std::vector<std::string> includeDirs;
    bool skipMissing = false; // an include that cannot be found is not reported
};

// Scans a source and returns its dependency list: items each followed by a
// line feed, then one more line feed. `seen` holds the lower-cased full
// paths already reported in this batch; found files are added to it.
std::string ScanIncludes(const IncludeScanInput& input, std::set<std::string>& seen);

// The header type reported for the include files of a source type.
std::string_view HeaderTypeForSource(std::string_view sourceType);

} // namespace quorle::depend
