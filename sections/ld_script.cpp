#include "sections/ld_script.h"

#include "core/ascii_text.h"
#include "core/text_replace.h"
#include "toolchain/cpu_table.h"
#include "toolchain/toolchain_names.h"

namespace quorle::sections {
namespace {

// Characters that make a label a free-text expression rather than a symbol
// to assign the location counter to. '\xA3' is the pound sign of the
// Windows code page.
bool HasSpecialCharacter(std::string_view label) {
    static constexpr std::string_view kSpecial = "!\"\xA3$%^&*()-+={}[]:;@'~#<>,./?\\|`";
    return label.find_first_of(kSpecial) != std::string_view::npos;
}

std::string HeaderLine(const SectionGroup& group) {
    std::string line = "\t" + group.name;
    if (group.placement == kFixedAddress || group.placement == kAtLabel)
        line += " " + group.placementText;
    if (group.noLoad) line += " (NOLOAD)";
    line += " :";
    if (group.loadKind != kLoadNone)
        line += " AT (" + core::ReplacedAll(group.loadAddress, "+", " + ") + ")";
    else if (group.placement == kFixedAddress)
        line += " AT (" + group.placementText + ")";
    line += "\n\t{\n";
    return line;
}

void AppendContentLines(const SectionGroup& group, const ContentItem& item,
                        std::vector<std::string>& lines) {
    if (item.kind == kItemLabel) {
        if (!HasSpecialCharacter(item.text))
            lines.push_back("\t\t" + item.text + " = .;\n");
        else
            lines.push_back("\t\t" + core::ReplacedAll(item.text, kStoredBlank, " ") + ";\n");
        return;
    }
    for (const std::string& file : item.files) {
        if (file == kAllFiles) {
            std::string pattern = "*(" + item.text + ")";
            lines.push_back(group.keep ? "\t\tKEEP(" + pattern + ")\n" : "\t\t" + pattern + "\n");
            return;
        }
        if (item.text == kAllSections)
            lines.push_back("\t\t" + file + "\n");
        else
            lines.push_back("\t\t\"" + file + "\"(" + item.text + ")\n");
    }
}

bool WriteContentLine(const std::string& line, const ScriptSink& sink,
                      const PlaceholderResolver& resolver, ScriptProblems* problems) {
    if (!resolver) return sink(line);
    std::optional<std::string> resolved = resolver(line);
    if (!resolved) {
        if (problems) problems->resolutionFailed = true;
        return sink(line);
    }
    if (problems && resolved->find("$(") != std::string::npos)
        problems->unresolvedPlaceholder = true;
    return sink(*resolved);
}

} // namespace

std::string ArchitectureLine(std::string_view effectiveToolchain, int cpuType, bool normalMode) {
    std::string_view name;
    if (core::EqualsIgnoringCase(effectiveToolchain, toolchain::kCorvoToolchain)) {
        name = "corvo";
    } else if (core::EqualsIgnoringCase(effectiveToolchain, toolchain::kPelkaToolchain)) {
        name = toolchain::PelkaOutputArch(cpuType * 2 + (normalMode ? 1 : 0));
    } else if (core::EqualsIgnoringCase(effectiveToolchain, toolchain::kZentaToolchain)) {
        name = "zenta";
    }
    if (name.empty()) return {};
    return "OUTPUT_ARCH(" + std::string(name) + ")\n";
}

uint64_t RegionLength(const MemoryRegion& region) {
    std::optional<uint64_t> start = ParseRegionAddress(region.start);
    std::optional<uint64_t> end = ParseRegionAddress(region.end);
    if (!start || !end || *end < *start) return 0;
    // A region over the whole 64-bit space has no representable length.
    if (*end - *start == UINT64_MAX) return 0;
    return *end - *start + 1;
}

namespace {

// One group without its children.
bool WriteOneGroup(const SectionGroup& group, const ScriptSink& sink,
                   const PlaceholderResolver& resolver, ScriptProblems* problems) {
    if (!sink(HeaderLine(group))) return false;
    std::vector<std::string> lines;
    for (const ContentItem& item : group.contents) {
        lines.clear();
        AppendContentLines(group, item, lines);
        for (const std::string& line : lines)
            if (!WriteContentLine(line, sink, resolver, problems)) return false;
    }
    std::string closing = "\t}";
    if (group.placement == kInRegion) closing += " > " + group.placementText;
    closing += "\n";
    return sink(closing);
}

} // namespace

bool WriteGroup(const SectionGroup& group, const ScriptSink& sink,
                const PlaceholderResolver& resolver, ScriptProblems* problems) {
    if (!WriteOneGroup(group, sink, resolver, problems)) return false;
    bool written = true;
    ForEachGroup(group.children, [&](const SectionGroup& child, size_t) {
        written = WriteOneGroup(child, sink, resolver, problems);
        return written;
    });
    return written;
}

bool WriteLayout(const SectionLayout& layout, const ScriptSink& sink,
                 const PlaceholderResolver& resolver, ScriptProblems* problems) {
    if (!layout.regions.empty()) {
        std::string memory = "MEMORY\n{\n";
        for (const MemoryRegion& region : layout.regions) {
            memory += "\t" + region.name + " : ORIGIN = " + region.start +
                      ", LENGTH = " + std::to_string(RegionLength(region)) + "\n";
        }
        memory += "}\n\n";
        if (!sink(memory)) return false;
    }
    if (!sink("SECTIONS\n{\n")) return false;
    for (const SectionGroup& group : layout.groups)
        if (!WriteGroup(group, sink, resolver, problems)) return false;
    return sink("}");
}

UserMessages ScriptProblemMessages(const ScriptProblems& problems) {
    constexpr int kPlaceholdersLeft = 2011;
    constexpr int kExportFailed = 2009;
    UserMessages messages;
    if (problems.unresolvedPlaceholder) messages.push_back(WarningString(kPlaceholdersLeft));
    if (problems.resolutionFailed) messages.push_back(ErrorString(kExportFailed));
    return messages;
}

std::string ScriptText(const SectionLayout& layout, std::string_view effectiveToolchain,
                       int cpuType, bool normalMode) {
    std::string text = ArchitectureLine(effectiveToolchain, cpuType, normalMode);
    WriteLayout(layout, [&text](const std::string& piece) {
        text += piece;
        return true;
    });
    return text;
}

} // namespace quorle::sections
