// Open the sheet, press OK without a change: nothing is lost, and a second
// open-and-OK hands back the same bytes.
#include <gtest/gtest.h>

#include "core/default_options.h"
#include "core/phase.h"
#include "script_run.h"
#include "support/temp_dir.h"
#include "sheet/option_set.h"

using namespace quorle;
using namespace quorle::sheet_test;

namespace {

std::vector<std::string> Defaults(PhaseIndex phase, const std::vector<std::string>& types) {
    std::vector<std::string> out;
    for (const char* config : {"DEFAULT", "DEBUG", "RELEASE"}) {
        for (const std::string& type : types) {
            std::string text = DefaultOptions(phase, config, type);
            if (!text.empty()) out.push_back(text);
        }
    }
    return out;
}

// Every input string gets a file of its own; the second configuration uses
// the strings in reverse order.
PhaseInput PhaseWith(const std::string& name, std::vector<std::string> inputs, bool fileBased) {
    PhaseInput phase{name, inputs, {{"demo", {"Debug", "Release"}, {}}}};
    const int n = static_cast<int>(inputs.size());
    for (int i = 0; i < n; ++i) {
        std::string path = fileBased ? "f" + std::to_string(i) + ".c" : "demo" + std::to_string(i);
        phase.projects[0].files.push_back({path, fileBased ? "C source file" : "", {i, n - 1 - i}});
    }
    return phase;
}

std::vector<PhaseInput> EveryKindOfString() {
    const std::string unknown = "[V|VERSION|2] [Q|NOBODY|1] [S|STRANGE|\"a b\"] [B|DEBUG|0]";
    const std::string quoted =
        "[V|VERSION|2] [S|INCDIR|\"C:\\dir]]x\"|\"say \"\"hi\"\"\"] [S|DEFINES|\"A=\"\"1\"\"\"]";
    const std::string malformed = "VERSION|2 [B|DEBUG|0 garbage]";
    std::vector<std::string> compiler =
        Defaults(kPhaseCompiler, {"C source file", "C++ source file", "Preprocess Assembly file"});
    compiler.insert(compiler.end(), {unknown, quoted, malformed, ""});
    std::vector<std::string> assembler = Defaults(kPhaseAssembler, {"Assembly source file"});
    assembler.insert(assembler.end(), {unknown, "[V|VERSION|2] [S|INCDIR|\"a]]b\"|\"c\"]"});
    std::vector<std::string> linker = Defaults(kPhaseLinker, {""});
    linker.insert(
        linker.end(),
        {"[V|VERSION|2] [S|MEMDET|ram|0|0|FF|*] "
         "[S|GROUPDET|.g|0|0||0||0|0|<<CEND>>|<<GEND>>|] [S|FSYMBOL|f1|f2] "
         "[S|;UNGENERATESYMBOL|u] [Q|X|1]",
         "[V|VERSION|2] [S|OUTFILE|\"$(CONFIGDIR)\\out]]put.x\"] [S|APPTXT|\"--x \"\"y\"\"\"]",
         unknown});
    std::vector<std::string> generator = Defaults(kPhaseGenerator, {""});
    generator.insert(generator.end(), {unknown, "[V|VERSION|2] [B|CTYPE|1] [I|OPTTYPE|0]"});
    std::vector<std::string> debug = {"[V|VERSION|2] [S|MEMRES|\"0,FF,RAM\"] [X|FOREIGN|\"a b\"]",
                                      "[V|VERSION|2]", "[Z|Z|\"q]]\"]"};
    return {PhaseWith("GNU Compiler", compiler, true), PhaseWith("GNU Assembler", assembler, true),
            PhaseWith("OptLinker", linker, false), PhaseWith("Generator", generator, false),
            PhaseWith("Debug", debug, false)};
}

int PhaseIndexOf(size_t record) {
    static constexpr int kIndices[] = {kPhaseCompiler, kPhaseAssembler, kPhaseLinker,
                                       kPhaseGenerator, kPhaseDebug};
    return kIndices[record];
}

} // namespace

TEST(EditOptionsRoundTrip, OkWithoutAChangeLosesNothingAndASecondRunIsByteEqual) {
    std::vector<PhaseInput> phaseInputs = EveryKindOfString();
    testing_support::TempDir workspaceDir("sheet_round_ws");
    ProjectInfoFixture info(kCorvo, workspaceDir.Path());
    HostRecordsFixture first(phaseInputs);
    ScriptRun run("sheet_round");
    ASSERT_EQ(run.Run(first, info.Get(), "select\tGNU Compiler\tdemo\ntab\tToolchain Option\nok\n"),
              0);

    // Every file gets back a string that reads to the same model as its input.
    std::vector<PhaseInput> again = phaseInputs;
    size_t fileNumber = 0;
    for (size_t r = 0; r < phaseInputs.size(); ++r) {
        const int phase = PhaseIndexOf(r);
        again[r].inputs = first.Output(r);
        ASSERT_FALSE(again[r].inputs.empty());
        auto& files = again[r].projects[0].files;
        for (size_t f = 0; f < files.size(); ++f, ++fileNumber) {
            for (size_t c = 0; c < 2; ++c) {
                const std::string& input =
                    phaseInputs[r].inputs[static_cast<size_t>(phaseInputs[r].projects[0].files[f].indices[c])];
                const std::string output = first.NewString(r, fileNumber, c);
                EXPECT_EQ(sheet::MakeModel(phase, output)->Write(),
                          sheet::MakeModel(phase, input)->Write())
                    << phaseInputs[r].name << ": " << input;
                files[f].indices[c] = first.File(fileNumber).slotB[c];
            }
        }
    }

    // A second open-and-OK changes nothing, byte for byte.
    HostRecordsFixture second(again);
    ScriptRun run2("sheet_round2");
    ASSERT_EQ(run2.Run(second, info.Get(), "ok\n"), 0);
    for (size_t r = 0; r < phaseInputs.size(); ++r) EXPECT_EQ(second.Output(r), first.Output(r));
    for (size_t f = 0; f < fileNumber; ++f) {
        for (size_t c = 0; c < 2; ++c) EXPECT_EQ(second.File(f).slotB[c], first.File(f).slotB[c]);
    }
}
