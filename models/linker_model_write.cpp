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

void CLinkerModel::WriteTokens(std::string& out) const {
    WriteFlag(out, m_bSubcommand, kSubcommand);
    WriteChoice(out, kSubcommandType, m_nSubcommandType);
    if (!m_strSubcommandFile.empty()) WriteQuoted(out, kExtFile, m_strSubcommandFile);
    WriteInput(out);
    WriteOutput(out);
    WriteLayout(out);
    WriteCpuCheck(out);
    WriteFlags(out, LinkerSwitchKeys(), m_aSwitches);
    if (!m_strAppText.empty()) WriteQuoted(out, kAppText, m_strAppText);
    // Written back so that a save does not lose the makefile-only options.
    if (!m_strOtherVia.empty()) WriteQuoted(out, kOtherVia, m_strOtherVia);
    m_cpu.WriteCpuTypeAndEndian(out);
    m_cpu.WriteFamilyKeys(out);
    WriteChoice(out, kProjectType, m_nProjectType);
    WriteChoice(out, kOptLib, m_bOptLib ? 1 : 0);
    WriteChoice(out, kProjectBuilt, m_bProjectIsLibrary ? 1 : 0);
    // Always in brackets, even when empty or starting with one, so that each
    // reads back as the same token in the same place.
    for (const std::string& carried : m_listCarried) {
        if (!out.empty()) out += ' ';
        out += '[';
        out += carried;
        out += ']';
    }
}

void CLinkerModel::WriteInput(std::string& out) const {
    WriteQuotedList(out, kIncDir, m_listLibDirs);
    WriteFlag(out, m_bGroupLibs, "B|RSARCH|1");
    WriteFlag(out, m_bFixupLibs, "B|FIXUPLIBS|1");
    // Library names are joined by "*" as they stand; a name that would split
    // the token or the list is quoted instead.
    std::string archive(kArchive);
    bool anyLibrary = false;
    for (const std::string& library : m_listLibraries) {
        if (library.empty()) continue; // would read back as nothing
        if (anyLibrary) archive += '*';
        archive += NeedsQuotes(library, "*") ? options::QuoteValue(library) : library;
        anyLibrary = true;
    }
    if (anyLibrary) AppendBody(out, archive);
    WriteQuotedList(out, kInput, m_listObjects);
    for (size_t i = 0; i < m_listBinaries.size(); ++i) {
        std::string body(kBinary);
        body += options::QuoteValue(m_listBinaries[i]);
        body += '|';
        body += options::QuoteValue(i < m_listBinarySections.size() ? m_listBinarySections[i]
                                                                    : std::string());
        AppendBody(out, body);
    }
    if (!m_listSymbols.empty()) {
        std::string body(kDefine);
        for (size_t i = 0; i < m_listSymbols.size(); ++i) {
            if (i > 0) body += '|';
            body += options::QuoteValue(m_listSymbols[i].name);
            body += ',';
            body += options::QuoteValue(m_listSymbols[i].value);
        }
        AppendBody(out, body);
    }
    WriteFlag(out, m_bEntry, "B|ENTRY|1");
    if (!m_strEntry.empty()) WriteQuoted(out, kEntry, m_strEntry);
    WriteChoice(out, kPrelink, m_nPrelink);
}

void CLinkerModel::WriteOutput(std::string& out) const {
    WriteChoice(out, kOutputForm, m_nOutputForm);
    WriteChoice(out, kHexRecord, m_nHexRecord);
    WriteChoice(out, kSRecord, m_nSRecord);
    WriteFlag(out, m_bRelocSplit, "B|DORELOC|1");
    if (m_strRelocCount != "0") AppendBody(out, std::string(kRelocCount) + m_strRelocCount);
    if (!m_listRomSections.empty()) {
        std::string body(kRom);
        for (size_t i = 0; i < m_listRomSections.size(); ++i) {
            if (i > 0) body += '|';
            body += '(' + m_listRomSections[i] + ',' +
                    (i < m_listRamSections.size() ? m_listRamSections[i] : std::string()) + ')';
        }
        AppendBody(out, body);
    }
    WriteFlag(out, m_bDivideOutput, "B|DIVIDEOUTPUT|1");
    if (!m_listOutputPieces.empty()) {
        std::string body(kMultiOutput);
        for (size_t i = 0; i < m_listOutputPieces.size(); ++i) {
            if (i > 0) body += '|';
            body += options::QuoteValue(m_listOutputPieces[i]);
            body += '=';
            std::string section =
                i < m_listPieceSections.size() ? m_listPieceSections[i] : std::string();
            body += NeedsQuotes(section, "|=") ? options::QuoteValue(section) : section;
        }
        AppendBody(out, body);
    }
    WriteFlag(out, m_bWarnUnused, "B|MSG_UNUSED|1");
    WriteFlag(out, m_bDataStuff, "B|DATA_STUFF|1");
    WriteFlag(out, m_bDataStuffMap, "B|DATA_STUFF_SMAP|1");
    // The map path is kept also while no map is made, once it differs from
    // the default, so that switching the map off and on keeps it.
    LinkerFields defaults;
    if (m_bMapFile) AppendBody(out, "B|MFILEGEN|1");
    if (m_bMapFile || m_strMapDir != defaults.m_strMapDir || m_strMapName != defaults.m_strMapName)
        WriteQuoted(out, kMapFile, MapFilePath());
    if (m_nCrcType != defaults.m_nCrcType || m_strCrcAddress != defaults.m_strCrcAddress ||
        !m_listCrcRanges.empty()) {
        std::string body(kCrc);
        body += CrcTypes()[static_cast<size_t>(m_nCrcType)];
        body += '|';
        body += m_strCrcAddress;
        for (const std::string& range : m_listCrcRanges) body += '|' + range;
        AppendBody(out, body);
    }
    std::string show;
    for (int i = 0; i < kShowWordCount; ++i) {
        if (!m_aShow[static_cast<size_t>(i)]) continue;
        if (!show.empty()) show += '|';
        show += ShowWords()[static_cast<size_t>(i)];
    }
    if (!show.empty()) AppendBody(out, std::string(kShow) + show);
    WriteFlag(out, m_bUseGcc, "B|USEGCCTOLINK|1");
    WriteFlag(out, m_bLto, "B|LTO|1");
    WriteFlag(out, m_bObjsOnCmdLine, "B|LINK_OBJS_VIA_CMDLINE|1");
    WriteQuoted(out, kOutFile, m_strOutputFile);
}

void CLinkerModel::WriteLayout(std::string& out) const {
    // The layout texts come escaped for the token.
    if (!m_layout.regions.empty())
        AppendBody(out, std::string(kRegions) + sections::RegionsToText(m_layout.regions));
    AppendBody(out, std::string(kGroups) + sections::GroupsToText(m_layout.groups));
    // Forced and suppressed symbols are written back so that an edit does not
    // lose them.
    if (!m_listForcedSymbols.empty())
        AppendBody(out, std::string(kForced) + Join(m_listForcedSymbols, "|"));
    if (!m_listSuppressedSymbols.empty())
        AppendBody(out, std::string(kSuppressed) + Join(m_listSuppressedSymbols, "|"));
}

void CLinkerModel::WriteCpuCheck(std::string& out) const {
    WriteChoice(out, kCpuCheck, m_nCpuCheckMode);
    if (!m_listCheckAreas.empty()) {
        std::string body(kCheckDevice);
        for (size_t i = 0; i < m_listCheckAreas.size(); ++i) {
            if (i > 0) body += '|';
            const CpuCheckArea& area = m_listCheckAreas[i];
            body += area.kind + ',' + area.start + ',' + area.end;
        }
        AppendBody(out, body);
    }
    if (!m_strCpuInfoFile.empty()) WriteQuoted(out, kCpuInfoFile, m_strCpuInfoFile);
    if (!m_strPsCheck.empty()) AppendBody(out, std::string(kPsCheck) + m_strPsCheck);
}

} // namespace quorle::models
