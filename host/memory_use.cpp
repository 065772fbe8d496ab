#include "host/memory_use.h"

#include <algorithm>
#include <cstdio>

#include "options/option_string.h"

namespace quorle::host {

namespace {

constexpr std::string_view kMemoryToken = "S|MEMDET|";

// Hexadecimal, with or without "0x" or "H'" in front; nullopt for anything
// else or for a value past 64 bits.
std::optional<uint64_t> ParseHex(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.remove_prefix(2);
    else if (text.size() > 2 && (text[0] == 'H' || text[0] == 'h') && text[1] == '\'')
        text.remove_prefix(2);
    if (text.empty() || text.size() > 16) return std::nullopt;
    uint64_t value = 0;
    for (char c : text) {
        int digit = c >= '0' && c <= '9'   ? c - '0'
                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                           : -1;
        if (digit < 0) return std::nullopt;
        value = value * 16 + static_cast<uint64_t>(digit);
    }
    return value;
}

std::string PadRight(const std::string& text, size_t width) {
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

std::string PadLeft(const std::string& text, size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

uint64_t EntryAddress(const MemoryUse& use, const RegionEntry& entry) {
    const PlacedSection& s = use.sections[entry.section];
    return entry.loadImage ? s.loadAddress : s.address;
}

std::vector<std::string> SectionLines(const MemoryUse& use, const std::vector<RegionEntry>& entries,
                                      const std::string& indent) {
    size_t nameWidth = 0, sizeWidth = 0;
    for (const RegionEntry& e : entries) {
        nameWidth = std::max(nameWidth, use.sections[e.section].name.size());
        sizeWidth = std::max(sizeWidth, FormatBytes(use.sections[e.section].size).size());
    }
    std::vector<std::string> lines;
    for (const RegionEntry& e : entries) {
        const PlacedSection& s = use.sections[e.section];
        std::string line = indent + PadRight(s.name, nameWidth) + "  " +
                           FormatAddress(EntryAddress(use, e)) + "  " +
                           PadLeft(FormatBytes(s.size), sizeWidth);
        if (e.loadImage) line += "  (load image)";
        lines.push_back(line);
    }
    return lines;
}

std::vector<RegionEntry> OutsideEntries(const MemoryUse& use) {
    std::vector<RegionEntry> entries;
    for (size_t index : use.outside) entries.push_back({index, false});
    return entries;
}

} // namespace

std::vector<RegionRange> MemoryRegionsOf(const std::string& linkerOptions) {
    std::vector<RegionRange> regions;
    for (const std::string& body : options::ReadTokenBodies(linkerOptions)) {
        if (body.rfind(kMemoryToken, 0) != 0) continue;
        std::vector<std::string> fields =
            options::SplitOutsideQuotes(std::string_view(body).substr(kMemoryToken.size()), '|');
        for (size_t i = 0; i + 3 < fields.size() && fields[i] != "*"; i += 4) {
            auto start = ParseHex(fields[i + 2]);
            auto end = ParseHex(fields[i + 3]);
            if (!start || !end || *end < *start) continue;
            regions.push_back({std::string(options::Unquote(fields[i])), *start, *end});
        }
    }
    return regions;
}

MemoryUse MeasureMemory(const ElfFile& elf, const std::vector<RegionRange>& regions) {
    MemoryUse use;
    for (const ElfSection& section : elf.sections) {
        if (!section.Allocated() || section.size == 0) continue;
        use.sections.push_back({section.name, section.address, elf.LoadAddress(section),
                                section.size, section.HasContents()});
    }
    std::stable_sort(
        use.sections.begin(), use.sections.end(),
        [](const PlacedSection& a, const PlacedSection& b) { return a.address < b.address; });
    for (const RegionRange& region : regions) use.regions.push_back({region, 0, {}});
    auto regionOf = [&use](uint64_t address) -> RegionUse* {
        for (RegionUse& r : use.regions)
            if (r.region.Holds(address)) return &r;
        return nullptr;
    };
    for (size_t i = 0; i < use.sections.size(); ++i) {
        const PlacedSection& s = use.sections[i];
        RegionUse* run = regionOf(s.address);
        RegionUse* load = s.LoadedElsewhere() ? regionOf(s.loadAddress) : nullptr;
        if (run != nullptr) run->entries.push_back({i, false});
        if (load != nullptr && load != run) load->entries.push_back({i, true});
        if (run == nullptr && load == nullptr) use.outside.push_back(i);
    }
    for (RegionUse& r : use.regions) {
        std::stable_sort(r.entries.begin(), r.entries.end(),
                         [&use](const RegionEntry& a, const RegionEntry& b) {
                             return EntryAddress(use, a) < EntryAddress(use, b);
                         });
        for (const RegionEntry& e : r.entries) r.used += use.sections[e.section].size;
    }
    return use;
}

std::string FormatBytes(uint64_t bytes) {
    static constexpr const char* kUnits[] = {"KiB", "MiB", "GiB", "TiB"};
    if (bytes < 1024) return std::to_string(bytes) + " B";
    double value = static_cast<double>(bytes) / 1024.0;
    uint64_t whole = bytes;
    size_t unit = 0;
    for (; value >= 1024.0 && unit + 1 < std::size(kUnits); ++unit) value /= 1024.0;
    bool exact = true;
    for (size_t i = 0; i <= unit; ++i) {
        exact = exact && whole % 1024 == 0;
        whole /= 1024;
    }
    char text[48];
    std::snprintf(text, sizeof text, exact ? "%.0f %s" : "%.1f %s", value, kUnits[unit]);
    return text;
}

std::string FormatPercent(uint64_t used, uint64_t size) {
    if (size == 0) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f%%",
                  100.0 * static_cast<double>(used) / static_cast<double>(size));
    return text;
}

std::string FormatAddress(uint64_t address) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%08llx", static_cast<unsigned long long>(address));
    return text;
}

std::vector<std::string> SummaryLines(const MemoryUse& use) {
    if (use.regions.empty()) return SectionLines(use, OutsideEntries(use), "");
    size_t nameWidth = 0, usedWidth = 0, sizeWidth = 0, percentWidth = 0;
    for (const RegionUse& r : use.regions) {
        nameWidth = std::max(nameWidth, r.region.name.size());
        usedWidth = std::max(usedWidth, FormatBytes(r.used).size());
        sizeWidth = std::max(sizeWidth, FormatBytes(r.region.Size()).size());
        percentWidth = std::max(percentWidth, FormatPercent(r.used, r.region.Size()).size());
    }
    std::vector<std::string> lines;
    for (const RegionUse& r : use.regions) {
        lines.push_back(PadRight(r.region.name, nameWidth) + "  " +
                        PadLeft(FormatBytes(r.used), usedWidth) + " / " +
                        PadLeft(FormatBytes(r.region.Size()), sizeWidth) + "  " +
                        PadLeft(FormatPercent(r.used, r.region.Size()), percentWidth));
    }
    return lines;
}

std::vector<std::string> DetailLines(const MemoryUse& use) {
    if (use.regions.empty()) return SummaryLines(use);
    std::vector<std::string> summary = SummaryLines(use);
    std::vector<std::string> lines;
    for (size_t i = 0; i < use.regions.size(); ++i) {
        const RegionUse& r = use.regions[i];
        lines.push_back(summary[i] + "  " + FormatAddress(r.region.start) + "-" +
                        FormatAddress(r.region.end));
        for (std::string& line : SectionLines(use, r.entries, "  ")) lines.push_back(line);
    }
    if (!use.outside.empty()) {
        lines.push_back("outside the regions:");
        for (std::string& line : SectionLines(use, OutsideEntries(use), "  "))
            lines.push_back(line);
    }
    return lines;
}

std::optional<MemoryUse> MeasureProgram(const std::string& elfPath,
                                        const std::string& linkerOptions, std::string& error) {
    auto elf = ReadElfFile(elfPath, error);
    if (!elf) return std::nullopt;
    return MeasureMemory(*elf, MemoryRegionsOf(linkerOptions));
}

} // namespace quorle::host
