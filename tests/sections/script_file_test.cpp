#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "interface/quorle.h"
#include "support/message_capture.h"
#include "sections/layout_tree.h"
#include "resources/message_box.h"
#include "sections/script_file.h"
#include "support/temp_dir.h"
#include "support/test_files.h"

using namespace quorle::sections;
namespace fs = std::filesystem;

using quorle::testing_support::ReadBytes;
using quorle::testing_support::TempDir;

namespace {

// Shows the messages of a script write, as the pre-phase and the export do,
// so that the capture sees the boxes; true when the write was ok.
bool Shown(const quorle::sections::ScriptWrite& write) {
    quorle::ShowUserMessages(write.messages);
    return write.ok;
}

std::string WithCrLf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

} // namespace

TEST(ScriptFile, ExportWritesTheScriptInTextModeWithPlaceholdersResolved) {
    TempDir temp("quorle-sections_export");
    fs::path dir = temp.Root();
    SectionLayout layout;
    layout.groups = DefaultGroups();
    layout.groups[0].contents.push_back(SectionItem(".extra", {"$(CONFIGDIR)\\v.o"}));
    QuorleProjectInfo info{};
    info.size = sizeof info;
    info.configDir = "C:\\proj\\Debug";
    info.projectName = "demo";
    MessageCapture messages("export");
    fs::path file = dir / "layout.gsi";
    ASSERT_TRUE(Shown(ExportLayout(file.string(), layout, {"Dravik GNUCORVO [ELF]", 0, false},
                             ProjectResolver(info))));
    std::string expected = ScriptText(layout, "Dravik GNUCORVO [ELF]", 0, false);
    size_t at = expected.find("$(CONFIGDIR)");
    expected.replace(at, 12, "C:\\proj\\Debug");
    EXPECT_EQ(ReadBytes(file), WithCrLf(expected));
    EXPECT_EQ(messages.Text(), "");
}

TEST(ScriptFile, ExportReportsPlaceholdersLeftUnresolved) {
    TempDir temp("quorle-sections_unresolved");
    fs::path dir = temp.Root();
    SectionLayout layout;
    layout.groups = DefaultGroups();
    layout.groups[0].contents.push_back(SectionItem(".a", {"$(CONFIGDIR)\\a.o"}));
    layout.groups[1].contents.push_back(SectionItem(".b", {"$(CONFIGDIR)\\b.o"}));
    QuorleProjectInfo info{}; // several configurations selected: nothing to resolve with
    MessageCapture messages("unresolved");
    ASSERT_TRUE(Shown(ExportLayout((dir / "x.gsi").string(), layout, {"Dravik GNUCORVO [ELF]", 0, false},
                             ProjectResolver(info))));
    std::string log = messages.Text();
    // Shown once however many lines are affected.
    EXPECT_NE(log.find("Your linker sections have been exported but some"), std::string::npos);
    EXPECT_EQ(log.find("\n", log.find('\n') + 1), std::string::npos) << log;
}

TEST(ScriptFile, FailedWritesAreReported) {
    TempDir temp("quorle-sections_failing");
    fs::path dir = temp.Root();
    SectionLayout layout;
    layout.groups = DefaultGroups();
    MessageCapture messages("failing");
    fs::path missing = dir / "no_such_dir" / "x.gsi";
    EXPECT_EQ(WriteScriptFile(missing.string(), layout, {"Dravik GNUCORVO [ELF]", 0, false}, {}),
              ScriptFileResult::HeaderFailed);
    EXPECT_FALSE(Shown(ExportLayout(missing.string(), layout, {"Dravik GNUCORVO [ELF]", 0, false}, {})));
    EXPECT_NE(messages.Text().find("ERROR\tError writing to sections file"), std::string::npos);
    EXPECT_FALSE(Shown(WriteLinkerScript(missing.string(), layout, {"", 0, false}, {})));
#ifdef __linux__
    if (fs::exists("/dev/full")) {
        EXPECT_EQ(WriteScriptFile("/dev/full", layout, {"Dravik GNUCORVO [ELF]", 0, false}, {}),
                  ScriptFileResult::SectionsFailed);
        EXPECT_FALSE(Shown(ExportLayout("/dev/full", layout, {"", 0, false}, {})));
        EXPECT_NE(messages.Text().find("ERROR\tERROR: File error\t"), std::string::npos);
        // The pre-phase goes on after a failure inside the sections.
        EXPECT_TRUE(Shown(WriteLinkerScript("/dev/full", layout, {"", 0, false}, {})));
        EXPECT_NE(messages.Text().find("ERROR\tERROR: File error generating linker sections file"),
                  std::string::npos);
    }
#endif
}

TEST(ScriptFile, ProjectResolverReplacesTheProjectPlaceholders) {
    QuorleProjectInfo info{};
    info.workspaceDir = "W";
    info.projectDir = "P";
    info.configDir = "C";
    info.hostDir = "H";
    info.toolchainDir = "T";
    info.tempDir = "X";
    info.projectName = "N";
    PlaceholderResolver resolve = ProjectResolver(info);
    EXPECT_EQ(*resolve("$(WORKSPDIR)$(PROJDIR)$(CONFIGDIR)$(VELMORDIR)$(TCINSTALL)$(TEMPDIR)"
                       "$(PROJECTNAME)$(CONFIGDIR)$(FILELEAF)"),
              "WPCHTXNC$(FILELEAF)");
}
