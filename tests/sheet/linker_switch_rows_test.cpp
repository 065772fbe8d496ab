// Each linker switch is one row of kLinkerSwitches: its key reads into and
// writes out of the linker model, its flag reaches ld's command line, and
// the Other page shows its label bound to that same switch. A gcc switch the
// compiler and the library generator share is one row the same way, for both.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "cmdline/compiler_command.h"
#include "cmdline/generator_command.h"
#include "cmdline/linker_text.h"
#include "models/compiler_model.h"
#include "models/gcc_switches.h"
#include "models/generator_model.h"
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

const sheet::ControlDef* ControlOf(const sheet::PageData& page, std::string_view key) {
    for (const sheet::ControlDef& c : page.controls)
        if (c.tokens == std::vector<std::string>{std::string(key)}) return &c;
    return nullptr;
}

size_t Count(const std::string& text, std::string_view part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

} // namespace

TEST(SharedGccRows, EveryRowReachesBothModelsTheirCommandsAndPages) {
    const std::vector<sheet::PageData> cppPages = sheet::CppPages();
    const std::vector<sheet::PageData> lbgPages = sheet::LbgPages();
    const sheet::PageData& cppOther = OtherPage(cppPages);
    const sheet::PageData& lbgOther = OtherPage(lbgPages);
    const models::CompilerModel compilerOff("C source file", "");
    const models::GeneratorModel generatorOff("");
    for (const models::FlagOption& row : models::gcc_switches::kRows) {
        SCOPED_TRACE(std::string(row.key));
        const std::string token = "[" + std::string(row.key) + "]";

        const models::CompilerModel compiler("C source file", token);
        EXPECT_EQ(std::count(compiler.other_.begin(), compiler.other_.end(), true), 1);
        EXPECT_TRUE(compiler.other_[models::RowOf(models::compiler_keys::kOtherOptions, row.key)]);
        EXPECT_NE(compiler.Write().find(token), std::string::npos);
        EXPECT_EQ(Count(cmdline::BuildCompilerCommand(compiler, ""), row.flag),
                  Count(cmdline::BuildCompilerCommand(compilerOff, ""), row.flag) + 1);

        const models::GeneratorModel generator(token);
        EXPECT_EQ(std::count(generator.flags_.begin(), generator.flags_.end(), true), 1);
        EXPECT_TRUE(generator.flags_[models::RowOf(models::generator_keys::kFlagOptions, row.key)]);
        EXPECT_NE(generator.Write().find(token), std::string::npos);
        EXPECT_EQ(Count(cmdline::BuildGeneratorSubcommand(generator), row.flag),
                  Count(cmdline::BuildGeneratorSubcommand(generatorOff), row.flag) + 1);

        // The C/C++ page shows the label with the flag; the library page the flag.
        const sheet::ControlDef* cpp = ControlOf(cppOther, row.key);
        ASSERT_NE(cpp, nullptr);
        EXPECT_EQ(sheet::PlainLabel(cpp->label),
                  std::string(row.label) + " (" + std::string(row.flag) + ")");
        EXPECT_EQ(cpp->binding.get(compiler), sheet::Value{"1"});
        EXPECT_EQ(cpp->binding.get(compilerOff), sheet::Value{"0"});
        const sheet::ControlDef* lbg = ControlOf(lbgOther, row.key);
        ASSERT_NE(lbg, nullptr);
        EXPECT_EQ(sheet::PlainLabel(lbg->label), row.flag);
        EXPECT_EQ(lbg->binding.get(generator), sheet::Value{"1"});
        EXPECT_EQ(lbg->binding.get(generatorOff), sheet::Value{"0"});
    }
}

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
