#include "host/memory_map_svg.h"

#include <algorithm>
#include <cstdio>

namespace quorle::host {

namespace {

// Sizes in pixels.
constexpr double kColumnHeight = 420;
constexpr double kColumnWidth = 110;
constexpr double kAddressWidth = 96; // the addresses left of a column
constexpr double kLabelWidth = 250;  // the section labels right of it
constexpr double kTop = 96;          // title and the region's heading above
constexpr double kBottom = 40;
constexpr double kLabelGap = 15;  // between two label lines
constexpr double kMinimumBar = 2; // the least height a section is drawn with

constexpr const char* kColours[] = {"#4e79a7", "#f28e2b", "#59a14f", "#e15759",
                                    "#76b7b2", "#edc948", "#b07aa1", "#9c755f"};

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            // Control characters are not allowed in XML text.
            if (static_cast<unsigned char>(c) >= 0x20) out += c;
        }
    }
    return out;
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

struct Column {
    std::string name;
    uint64_t start = 0;
    uint64_t size = 0; // bytes the column stands for
    uint64_t used = 0;
    bool region = true;
    std::vector<RegionEntry> entries;
};

std::vector<Column> ColumnsOf(const MemoryUse& use) {
    std::vector<Column> columns;
    for (const RegionUse& r : use.regions) {
        // A region over the whole address space has no size that fits.
        uint64_t size = r.region.Size() == 0 ? UINT64_MAX : r.region.Size();
        columns.push_back({r.region.name, r.region.start, size, r.used, true, r.entries});
    }
    std::vector<RegionEntry> outside;
    for (size_t index : use.outside) outside.push_back({index, false});
    if (!outside.empty()) {
        uint64_t low = UINT64_MAX, high = 0, used = 0;
        for (const RegionEntry& e : outside) {
            const PlacedSection& s = use.sections[e.section];
            low = std::min(low, s.address);
            high = std::max(high, s.address + std::min(s.size, UINT64_MAX - s.address));
            used += s.size;
        }
        std::string name = use.regions.empty() ? "sections" : "outside the regions";
        columns.push_back({name, low, std::max<uint64_t>(high - low, 1), used, false, outside});
    }
    return columns;
}

// Label positions: as near to each section's middle as they fit, none
// closer than a line to the next, all inside the column's height.
std::vector<double> SpreadLabels(std::vector<double> wanted, double top, double bottom) {
    std::vector<size_t> order(wanted.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](size_t a, size_t b) { return wanted[a] > wanted[b]; });
    std::vector<double> placed = wanted;
    double limit = bottom;
    for (size_t i : order) { // from the bottom up
        placed[i] = std::min(wanted[i], limit);
        limit = placed[i] - kLabelGap;
    }
    double over = top - (order.empty() ? top : placed[order.back()]);
    if (over > 0)
        for (double& y : placed) y += over;
    return placed;
}

void DrawColumn(const MemoryUse& use, const Column& column, double x, std::string& svg) {
    const double bottom = kTop + kColumnHeight;
    const double barX = x + kAddressWidth;
    auto yOf = [&](uint64_t address) {
        double part =
            static_cast<double>(address - column.start) / static_cast<double>(column.size);
        return bottom - std::clamp(part, 0.0, 1.0) * kColumnHeight;
    };
    std::string heading = column.name;
    std::string usage = FormatBytes(column.used) +
                        (column.region ? " of " + FormatBytes(column.size) + " used (" +
                                             FormatPercent(column.used, column.size) + ")"
                                       : " in sections");
    svg += "<text x=\"" + Number(barX) + "\" y=\"" + Number(kTop - 30) + "\" class=\"region\">" +
           Escaped(heading) + "</text>\n";
    svg += "<text x=\"" + Number(barX) + "\" y=\"" + Number(kTop - 12) + "\" class=\"usage\">" +
           Escaped(usage) + "</text>\n";
    svg += "<rect x=\"" + Number(barX) + "\" y=\"" + Number(kTop) + "\" width=\"" +
           Number(kColumnWidth) + "\" height=\"" + Number(kColumnHeight) + "\" class=\"free\"/>\n";
    svg += "<text x=\"" + Number(barX - 6) + "\" y=\"" + Number(bottom) + "\" class=\"address\">" +
           FormatAddress(column.start) + "</text>\n";
    svg += "<text x=\"" + Number(barX - 6) + "\" y=\"" + Number(kTop + 10) +
           "\" class=\"address\">" + FormatAddress(column.start + column.size - 1) + "</text>\n";
    if (column.region && column.used < column.size) {
        svg += "<text x=\"" + Number(barX + kColumnWidth / 2) + "\" y=\"" + Number(kTop + 24) +
               "\" class=\"freetext\">free " + Escaped(FormatBytes(column.size - column.used)) +
               "</text>\n";
    }

    std::vector<double> middles;
    for (const RegionEntry& e : column.entries) {
        const PlacedSection& s = use.sections[e.section];
        uint64_t at = e.loadImage ? s.loadAddress : s.address;
        double y0 = yOf(at);
        double y1 = yOf(std::min(at + s.size, column.start + column.size));
        double height = std::max(y0 - y1, kMinimumBar);
        // A section and its load image share a colour.
        const char* fill = kColours[e.section % std::size(kColours)];
        svg += "<rect x=\"" + Number(barX) + "\" y=\"" + Number(y0 - height) + "\" width=\"" +
               Number(kColumnWidth) + "\" height=\"" + Number(height) + "\" fill=\"" + fill + "\"" +
               (e.loadImage ? " fill-opacity=\"0.45\"" : "") + " class=\"section\"/>\n";
        middles.push_back(y0 - height / 2);
    }
    std::vector<double> labels = SpreadLabels(middles, kTop + 4, bottom);
    const double labelX = barX + kColumnWidth + 26;
    for (size_t i = 0; i < column.entries.size(); ++i) {
        const RegionEntry& e = column.entries[i];
        const PlacedSection& s = use.sections[e.section];
        std::string text = s.name + "  " + FormatBytes(s.size) + "  at " +
                           FormatAddress(e.loadImage ? s.loadAddress : s.address) +
                           (e.loadImage ? " (load image)" : "");
        svg += "<polyline points=\"" + Number(barX + kColumnWidth) + "," + Number(middles[i]) +
               " " + Number(labelX - 12) + "," + Number(middles[i]) + " " + Number(labelX - 4) +
               "," + Number(labels[i] - 4) + "\" class=\"leader\"/>\n";
        svg += "<text x=\"" + Number(labelX) + "\" y=\"" + Number(labels[i]) +
               "\" class=\"label\">" + Escaped(text) + "</text>\n";
    }
}

} // namespace

std::string MemoryMapSvg(const MemoryUse& use, const std::string& title) {
    std::vector<Column> columns = ColumnsOf(use);
    const double columnBlock = kAddressWidth + kColumnWidth + kLabelWidth;
    // Wide enough for the note under the columns too.
    const double width = std::max(
        std::max<double>(1, static_cast<double>(columns.size())) * columnBlock + 20, 640.0);
    const double height = kTop + kColumnHeight + kBottom;
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      Number(width) + "\" height=\"" + Number(height) + "\" viewBox=\"0 0 " +
                      Number(width) + " " + Number(height) + "\">\n";
    svg += "<style>\n"
           "text { font-family: DejaVu Sans, Arial, sans-serif; font-size: 12px; fill: #222; }\n"
           ".title { font-size: 16px; font-weight: bold; }\n"
           ".region { font-size: 14px; font-weight: bold; }\n"
           ".usage { font-size: 12px; fill: #444; }\n"
           ".address { font-family: DejaVu Sans Mono, monospace; font-size: 11px; "
           "text-anchor: end; fill: #555; }\n"
           ".freetext { text-anchor: middle; fill: #777; }\n"
           ".free { fill: #f3f3f3; stroke: #888; stroke-width: 1; }\n"
           ".section { stroke: #333; stroke-width: 0.5; }\n"
           ".leader { fill: none; stroke: #999; stroke-width: 0.8; }\n"
           "</style>\n";
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    svg += "<text x=\"10\" y=\"24\" class=\"title\">Memory map of " + Escaped(title) + "</text>\n";
    for (size_t i = 0; i < columns.size(); ++i)
        DrawColumn(use, columns[i], 10 + static_cast<double>(i) * columnBlock, svg);
    if (columns.empty())
        svg += "<text x=\"10\" y=\"" + Number(kTop) + "\">no allocated sections</text>\n";
    svg += "<text x=\"10\" y=\"" + Number(height - 12) +
           "\" class=\"usage\">Drawn to scale, the start of each region at the bottom; a section "
           "is at least " +
           std::to_string(static_cast<int>(kMinimumBar)) + " px high.</text>\n";
    svg += "</svg>\n";
    return svg;
}

} // namespace quorle::host
