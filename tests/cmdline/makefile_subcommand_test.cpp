#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cmdline/linker_makefile.h"
#include "models/linker_model.h"

using namespace quorle::cmdline;
using quorle::models::LinkerModel;
namespace models = quorle::models;
namespace fs = std::filesystem;

namespace {

std::string Build(LinkerModel& model, std::vector<std::string> inputs,
                  const MakefilePathRewriter& rewrite = {}) {
    std::string out;
    EXPECT_TRUE(BuildMakefileSubcommand(model, std::move(inputs), out, "C:\\cfg", true, rewrite));
    return out;
}

} // namespace

TEST(MakefileSubcommand, DefaultFormAndInputsInListOrder) {
    LinkerModel model;
    model.mapFile_ = true;
    model.appText_ = "-extra";
    model.switches_[models::kSwStats] = true;
    std::string out =
        Build(model, {"a.o|Object file", "libq.a|Library file", "r.rel|Relocatable file"},
              [](const std::string& path) { return "$(PROJDIR)\\" + path; });
    EXPECT_EQ(out, "noprelink\n"
                   "list \"$(CONFIGDIR)\\$(PROJECTNAME).map\"\n"
                   "nologo\n"
                   "-stats\n"
                   "\"$(PROJDIR)\\a.o\"\n"
                   "-l \"$(PROJDIR)\\libq.a\"\n"
                   "-input=\"$(PROJDIR)\\r.rel\"\n"
                   "output \"$(CONFIGDIR)\\$(PROJECTNAME).x\"\n"
                   "-extra\n");
}

TEST(MakefileSubcommand, AbsoluteOutputWithConversion) {
    LinkerModel model;
    model.outputForm_ = models::kFormBoth;
    model.entryOn_ = true;
    model.entry_ = "_go";
    model.symbols_ = {{"S", "2"}};
    model.prelink_ = 2;
    model.divideOutput_ = true;
    model.outputPieces_ = {"$(CONFIGDIR)\\part1.mot", "$(CONFIGDIR)\\part2.mot"};
    model.appText_ = "-user";
    model.otherVia_ = " one\ttwo  three ";
    model.forcedSymbols_ = {"f"};
    model.binaries_ = {"pic.bin", "raw.bin"};
    model.binarySections_ = {"(.pic)", ""};
    EXPECT_EQ(Build(model, {"a.o|Object file", "pic.bin|Binary file", "raw.bin|Binary file"}),
              "entry _go\n"
              "define S=2\n"
              "-fsymbol=f\n"
              "nologo\n"
              "\"a.o\"\n"
              "-binary=\"pic.bin\"(.pic)\n"
              "-o \"$(CONFIGDIR)\\part1.x\"\n"
              "-user\n"
              "end\n"
              "\"$(CONFIGDIR)\\part1.x\"\n"
              "output \"$(CONFIGDIR)\\$(PROJECTNAME).x\"\n"
              "one\ntwo\nthree\n");
}

namespace {

// A model with one binary input that has a section, in the given form.
LinkerModel WithPlacedBinary(int form) {
    LinkerModel model;
    model.outputForm_ = form;
    model.prelink_ = 2;
    model.binaries_ = {"pic.bin"};
    model.binarySections_ = {"(.pic)"};
    return model;
}

} // namespace

TEST(MakefileSubcommand, FormLinesAndBinaryFiles) {
    const std::pair<int, const char*> forms[] = {
        {2, "form relocate\n"}, {3, "form library=s\n"}, {4, "form library\n"}};
    for (const auto& [form, line] : forms) {
        LinkerModel model = WithPlacedBinary(form);
        std::string out = Build(model, {"pic.bin|Binary file"});
        EXPECT_TRUE(out.starts_with(line)) << out;
        EXPECT_EQ(out.find("-binary"), std::string::npos) << form;
    }
    LinkerModel hex = WithPlacedBinary(models::kFormHex);
    EXPECT_EQ(Build(hex, {"pic.bin|Binary file"}),
              "nologo\n-binary=\"pic.bin\"(.pic)\nform hexadecimal\n"
              "output \"$(CONFIGDIR)\\$(PROJECTNAME).x\"\n");
}

// The image forms place binary inputs and name their form after them, as
// the hexadecimal form does.
TEST(MakefileSubcommand, ImageFormsPlaceBinariesBeforeTheirFormLine) {
    const std::pair<int, const char*> forms[] = {{models::kFormStype, "form stype"},
                                                 {models::kFormBinary, "form binary"}};
    for (const auto& [form, line] : forms) {
        LinkerModel model = WithPlacedBinary(form);
        EXPECT_EQ(Build(model, {"pic.bin|Binary file"}),
                  std::string("nologo\n-binary=\"pic.bin\"(.pic)\n") + line +
                      "\noutput \"$(CONFIGDIR)\\$(PROJECTNAME).x\"\n")
            << form;
    }
}

TEST(MakefileSubcommand, PrelinkRunsWhenTemplateInformationExists) {
    fs::path dir = fs::path(testing::TempDir()) / "quorle_makefile_tpl";
    fs::remove_all(dir);
    fs::create_directories(dir / "tpldir");
    std::string object = (dir / "a.o").string();
    LinkerModel model;
    EXPECT_TRUE(Build(model, {object + "|Object file"}).starts_with("noprelink\n"));
    std::ofstream(dir / "tpldir" / "a.ti") << "";
    EXPECT_TRUE(HasTemplateInformation(object));
    EXPECT_FALSE(Build(model, {object + "|Object file"}).starts_with("noprelink"));
    model.prelink_ = 1;
    EXPECT_TRUE(Build(model, {object + "|Object file"}).starts_with("noprelink\n"));
}

TEST(MakefileSubcommand, SubcommandModeAndFailures) {
    LinkerModel model;
    model.subcommand_ = true;
    model.subcommandFile_ = "my.sub";
    model.mapFile_ = true;
    EXPECT_EQ(Build(model, {"a.o|Object file"}), "\"a.o\"\n");
    std::string out;
    EXPECT_FALSE(BuildMakefileSubcommand(model, {"a.o"}, out, "", true));
    EXPECT_FALSE(BuildMakefileSubcommand(model, {"a.o|Thing"}, out, "", true));
    EXPECT_FALSE(BuildMakefileSubcommand(model, {"a.o"}, out, "", false));
}
