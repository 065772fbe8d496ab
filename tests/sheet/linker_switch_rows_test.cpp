// Each linker switch is one row of kLinkerSwitches: its key reads into and
// writes out of the linker model, its flag reaches ld's command line, and
// the Other page shows its label bound to that same switch.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "cmdline/linker_text.h"
#include "models/linker_model.h"
#include "sheet/control.h"
#include "sheet/tool_pages.h"

using namespace quorle;

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

const sheet::PageData& OtherPage(const std::vector<sheet::PageData>& pages) {
    auto at = std::find_if(pages.begin(), pages.end(),
                           [](const sheet::PageData& p) { return p.label == "Other"; });
    EXPECT_NE(at, pages.end());
    return *at;
}

} // namespace

TEST(LinkerSwitchRows, EveryRowReachesModelCommandLineAndPage) {
    const std::vector<sheet::PageData> pages = sheet::LnkPages();
    const sheet::PageData& other = OtherPage(pages);
    const models::LinkerModel none;
    size_t shown = 0;
    for (size_t i = 0; i < std::size(models::kLinkerSwitches); ++i) {
        const models::FlagOption& row = models::kLinkerSwitches[i];
        SCOPED_TRACE(std::string(row.key));
        const std::string token = "[" + std::string(row.key) + "]";

        models::LinkerModel model("[V|VERSION|2] " + token);
        for (size_t j = 0; j < model.switches_.size(); ++j) EXPECT_EQ(model.switches_[j], i == j);
        const std::string written = model.Serialize();
        EXPECT_NE(written.find(token), std::string::npos) << written;
        EXPECT_EQ(models::LinkerModel(written).switches_, model.switches_);
        EXPECT_EQ(none.Serialize().find(token), std::string::npos);

        const std::vector<std::string> on = Lines(cmdline::LinkerOptionLines(model).text);
        const std::vector<std::string> off = Lines(cmdline::LinkerOptionLines(none).text);
        EXPECT_EQ(std::count(on.begin(), on.end(), std::string(row.flag)), 1);
        EXPECT_EQ(std::count(off.begin(), off.end(), std::string(row.flag)), 0);

        auto control = std::find_if(
            other.controls.begin(), other.controls.end(), [&](const sheet::ControlDef& c) {
                return c.tokens == std::vector<std::string>{std::string(row.key)};
            });
        ASSERT_NE(control, other.controls.end());
        ++shown;
        EXPECT_EQ(sheet::PlainLabel(control->label), row.label); // the page adds the mnemonic
        EXPECT_EQ(control->help, "ld switch " + std::string(row.label));
        EXPECT_EQ(control->binding.get(model), sheet::Value{"1"});
        EXPECT_EQ(control->binding.get(none), sheet::Value{"0"});
    }
    EXPECT_EQ(shown, static_cast<size_t>(models::kLinkerSwitchCount));
}
