// Writing the linker options model back to an option string, in the fixed
// token order the host's stored strings follow.
#include "models/linker_keys.h"
#include "models/linker_model.h"
#include "options/option_string.h"
#include "sections/layout_text.h"

namespace quorle::models {

using namespace linker_keys;

namespace {

void WriteFlag(std::string& out, bool on, std::string_view key) {
    if (on) AppendBody(out, key);
}

// Free text that must be quoted to stay inside its list element.
bool NeedsQuotes(std::string_view text, std::string_view separators) {
    return text.find_first_of(" \t\r\n\"]") != std::string_view::npos ||
           text.find_first_of(separators) != std::string_view::npos;
}

// prefix + the quoted, escaped text. The reader takes the quotes off before
// undoing the escaping, so the plain escaped form reads back exactly.
void WriteQuoted(std::string& out, std::string_view prefix, std::string_view text) {
    std::string body(prefix);
    body += options::QuoteValue(text);
    AppendBody(out, body);
}

// prefix + the non-empty entries quoted and joined by "|"; nothing when none.
void WriteQuotedList(std::string& out, std::string_view prefix,
                     const std::vector<std::string>& list) {
    std::string body(prefix);
    bool any = false;
    for (const std::string& entry : list) {
        if (entry.empty()) continue; // would read back as nothing
        if (any) body += '|';
        body += options::QuoteValue(entry);
        any = true;
    }
    if (any) AppendBody(out, body);
}

} // namespace

void LinkerModel::WriteTokens(std::string& out) const {
    WriteFlag(out, subcommand_, kSubcommand);
    WriteChoice(out, kSubcommandType, subcommandType_);
    if (!subcommandFile_.empty()) WriteQuoted(out, kExtFile, subcommandFile_);
    WriteInput(out);
    WriteOutput(out);
    WriteLayout(out);
    WriteCpuCheck(out);
    WriteFlags(out, LinkerSwitchKeys(), switches_);
    if (!appText_.empty()) WriteQuoted(out, kAppText, appText_);
    // Written back so that a save does not lose the makefile-only options.
    if (!otherVia_.empty()) WriteQuoted(out, kOtherVia, otherVia_);
    cpu_.WriteCpuTypeAndEndian(out);
    cpu_.WriteFamilyKeys(out);
    WriteChoice(out, kProjectType, projectType_);
    WriteChoice(out, kOptLib, optLib_ ? 1 : 0);
    WriteChoice(out, kProjectBuilt, projectIsLibrary_ ? 1 : 0);
    // Always in brackets, even when empty or starting with one, so that each
    // reads back as the same token in the same place.
    for (const std::string& carried : carried_) {
        if (!out.empty()) out += ' ';
        out += '[';
        out += carried;
        out += ']';
    }
}

void LinkerModel::WriteInput(std::string& out) const {
    WriteQuotedList(out, kIncDir, libDirs_);
    WriteFlag(out, groupLibs_, "B|RSARCH|1");
    WriteFlag(out, fixupLibs_, "B|FIXUPLIBS|1");
    // Library names are joined by "*" as they stand; a name that would split
    // the token or the list is quoted instead.
    std::string archive(kArchive);
    bool anyLibrary = false;
    for (const std::string& library : libraries_) {
        if (library.empty()) continue; // would read back as nothing
        if (anyLibrary) archive += '*';
        archive += NeedsQuotes(library, "*") ? options::QuoteValue(library) : library;
        anyLibrary = true;
    }
    if (anyLibrary) AppendBody(out, archive);
    WriteQuotedList(out, kInput, objects_);
    for (size_t i = 0; i < binaries_.size(); ++i) {
        std::string body(kBinary);
        body += options::QuoteValue(binaries_[i]);
        body += '|';
        body +=
            options::QuoteValue(i < binarySections_.size() ? binarySections_[i] : std::string());
        AppendBody(out, body);
    }
    if (!symbols_.empty()) {
        std::string body(kDefine);
        for (size_t i = 0; i < symbols_.size(); ++i) {
            if (i > 0) body += '|';
            body += options::QuoteValue(symbols_[i].name);
            body += ',';
            body += options::QuoteValue(symbols_[i].value);
        }
        AppendBody(out, body);
    }
    WriteFlag(out, entryOn_, "B|ENTRY|1");
    if (!entry_.empty()) WriteQuoted(out, kEntry, entry_);
    WriteChoice(out, kPrelink, prelink_);
}

void LinkerModel::WriteOutput(std::string& out) const {
    WriteChoice(out, kOutputForm, outputForm_);
    WriteChoice(out, kHexRecord, hexRecord_);
    WriteChoice(out, kSRecord, sRecord_);
    WriteFlag(out, relocSplit_, "B|DORELOC|1");
    if (relocCount_ != "0") AppendBody(out, std::string(kRelocCount) + relocCount_);
    if (!romSections_.empty()) {
        std::string body(kRom);
        for (size_t i = 0; i < romSections_.size(); ++i) {
            if (i > 0) body += '|';
            body += '(' + romSections_[i] + ',' +
                    (i < ramSections_.size() ? ramSections_[i] : std::string()) + ')';
        }
        AppendBody(out, body);
    }
    WriteFlag(out, divideOutput_, "B|DIVIDEOUTPUT|1");
    if (!outputPieces_.empty()) {
        std::string body(kMultiOutput);
        for (size_t i = 0; i < outputPieces_.size(); ++i) {
            if (i > 0) body += '|';
            body += options::QuoteValue(outputPieces_[i]);
            body += '=';
            std::string section = i < pieceSections_.size() ? pieceSections_[i] : std::string();
            body += NeedsQuotes(section, "|=") ? options::QuoteValue(section) : section;
        }
        AppendBody(out, body);
    }
    WriteFlag(out, warnUnused_, "B|MSG_UNUSED|1");
    WriteFlag(out, dataStuff_, "B|DATA_STUFF|1");
    WriteFlag(out, dataStuffMap_, "B|DATA_STUFF_SMAP|1");
    // The map path is kept also while no map is made, once it differs from
    // the default, so that switching the map off and on keeps it.
    LinkerFields defaults;
    if (mapFile_) AppendBody(out, "B|MFILEGEN|1");
    if (mapFile_ || mapDir_ != defaults.mapDir_ || mapName_ != defaults.mapName_)
        WriteQuoted(out, kMapFile, MapFilePath());
    if (crcType_ != defaults.crcType_ || crcAddress_ != defaults.crcAddress_ ||
        !crcRanges_.empty()) {
        std::string body(kCrc);
        body += CrcTypes()[static_cast<size_t>(crcType_)];
        body += '|';
        body += crcAddress_;
        for (const std::string& range : crcRanges_) body += '|' + range;
        AppendBody(out, body);
    }
    std::string show;
    for (int i = 0; i < kShowWordCount; ++i) {
        if (!show_[static_cast<size_t>(i)]) continue;
        if (!show.empty()) show += '|';
        show += ShowWords()[static_cast<size_t>(i)];
    }
    if (!show.empty()) AppendBody(out, std::string(kShow) + show);
    WriteFlag(out, useGcc_, "B|USEGCCTOLINK|1");
    WriteFlag(out, lto_, "B|LTO|1");
    WriteFlag(out, objsOnCmdLine_, "B|LINK_OBJS_VIA_CMDLINE|1");
    WriteQuoted(out, kOutFile, outputFile_);
}

void LinkerModel::WriteLayout(std::string& out) const {
    // The layout texts come escaped for the token.
    if (!layout_.regions.empty())
        AppendBody(out, std::string(kRegions) + sections::RegionsToText(layout_.regions));
    AppendBody(out, std::string(kGroups) + sections::GroupsToText(layout_.groups));
    // Forced and suppressed symbols are written back so that an edit does not
    // lose them.
    if (!forcedSymbols_.empty()) AppendBody(out, std::string(kForced) + Join(forcedSymbols_, "|"));
    if (!suppressedSymbols_.empty())
        AppendBody(out, std::string(kSuppressed) + Join(suppressedSymbols_, "|"));
}

void LinkerModel::WriteCpuCheck(std::string& out) const {
    WriteChoice(out, kCpuCheck, cpuCheckMode_);
    if (!checkAreas_.empty()) {
        std::string body(kCheckDevice);
        for (size_t i = 0; i < checkAreas_.size(); ++i) {
            if (i > 0) body += '|';
            const CpuCheckArea& area = checkAreas_[i];
            body += area.kind + ',' + area.start + ',' + area.end;
        }
        AppendBody(out, body);
    }
    if (!cpuInfoFile_.empty()) WriteQuoted(out, kCpuInfoFile, cpuInfoFile_);
    if (!psCheck_.empty()) AppendBody(out, std::string(kPsCheck) + psCheck_);
}

} // namespace quorle::models
