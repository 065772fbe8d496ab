// The model-free pieces of the build steps: protected files, names, the tool
// runner wrapper, the feedback counter and the post-phase helpers.
#include <gtest/gtest.h>

#include <filesystem>

#include "interface/feedback_request.h"
#include "phases/feedback.h"
#include "phases/paths.h"
#include "phases/post_steps.h"
#include "phases/run_tool.h"
#include "phases/text_files.h"
#include "platform/platform.h"
#include "step_fixture.h"

namespace fs = std::filesystem;
using namespace quorle;
using namespace quorle::phases;
using quorle::testing::ScratchProject;

TEST(ProtectedTextFile, ReplacesReadOnlyHiddenFileAndLeavesItProtected) {
    ScratchProject p;
    std::string file = p.configDir + "/main.gcc";
    ASSERT_EQ(WriteProtectedTextFile(file, "-c\n\"a.c\"\n", SubcommandFileAttributes()), 0);
    EXPECT_EQ(p.ReadBytes(file), "-c\r\n\"a.c\"\r\n");
    auto attributes = platform::GetFileAttributes(file);
    ASSERT_TRUE(attributes);
    EXPECT_EQ(*attributes & (platform::kAttrReadOnly | platform::kAttrHidden),
              platform::kAttrReadOnly | platform::kAttrHidden);
    // A second build replaces the read-only file.
    EXPECT_EQ(WriteProtectedTextFile(file, "-S\n", SubcommandFileAttributes()), 0);
    EXPECT_EQ(p.ReadBytes(file), "-S\r\n");
    EXPECT_EQ(ReadTextFile(file).value_or("?"), "-S\n");
    // A directory in the way cannot be opened.
    EXPECT_EQ(WriteProtectedTextFile(p.configDir, "x", SubcommandFileAttributes()),
              kWriteCannotOpen);
    EXPECT_EQ(GetFileState(file), FileState::File);
    EXPECT_EQ(GetFileState(p.configDir), FileState::Directory);
    EXPECT_EQ(GetFileState(p.configDir + "/none"), FileState::Missing);
    EXPECT_FALSE(ReadTextFile(p.configDir + "/none"));
}

TEST(ProtectedTextFile, TextWithoutFinalNewlineReadsAsWholeLines) {
    ScratchProject p;
    p.WriteText(p.Path("a.txt"), "one\r\ntwo");
    EXPECT_EQ(ReadTextFile(p.Path("a.txt")).value_or("?"), "one\ntwo\n");
    EXPECT_TRUE(CreateDirectoryChain(p.Path("x/y/z")));
    EXPECT_TRUE(fs::is_directory(p.Path("x/y/z")));
    EXPECT_TRUE(CreateDirectoryChain(p.Path("x/y/z")));
}

TEST(StepPaths, CombinationTildesAndCommands) {
    EXPECT_EQ(CombinePath("C:\\cfg", "main", "o"), "C:\\cfg\\main.o");
    EXPECT_EQ(CombinePath("C:\\cfg\\", "main", ".o"), "C:\\cfg\\main.o");
    EXPECT_EQ(CombinePath("", "main", ""), "main");
    EXPECT_EQ(SubcommandFilePath("C:\\cfg", "my prog v2", "gld"), "C:\\cfg\\my~prog~v2.gld");
    EXPECT_EQ(AtCommand("@", "C:\\cfg\\a.gcc"), "@\"C:\\cfg\\a.gcc\"");
    EXPECT_EQ(PathOfAtCommand("@\"C:\\cfg\\a.gld\"").value_or("?"), "C:\\cfg\\a.gld");
    EXPECT_EQ(PathOfAtCommand("--use-gcc-to-link @\"C:\\a.gld\"").value_or("?"), "C:\\a.gld");
    EXPECT_FALSE(PathOfAtCommand("@\""));
    EXPECT_EQ(LastComponent("C:\\Dravik\\v4.1"), "v4.1");
    EXPECT_EQ(WithoutExtension("C:\\dir.x\\prog.x"), "C:\\dir.x\\prog");
    EXPECT_EQ(WithoutExtension("C:\\dir.x\\prog"), "C:\\dir.x\\prog");
}

TEST(StepPaths, ResolutionNeedsAnExistingConfigurationDirectory) {
    ScratchProject p;
    std::string before = platform::GetCurrentDirectory();
    auto full = ResolveAgainst(p.configDir, "sub\\..\\main.o");
    ASSERT_TRUE(full);
    EXPECT_EQ(fs::path(*full), fs::path(p.configDir) / "main.o");
    EXPECT_EQ(platform::GetCurrentDirectory(), before);
    EXPECT_FALSE(ResolveAgainst("", "main.o"));
    EXPECT_FALSE(ResolveAgainst(p.configDir + "/missing", "main.o"));
    EXPECT_FALSE(ResolveAgainst(p.configDir, std::string(300, 'a')));
}

TEST(RunTool, ExitCodeAndTimeOutAreFailuresWithTheirMessages) {
    ScratchProject p;
    p.InstallStandInTools();
    std::string tool = p.toolchainDir + "/corvo-elf/bin/corvo-elf-ar.exe";
    ToolMessages messages{"T-out", "F-ail"};
    StepOutcome done = RunTool(tool + " a b", messages);
    EXPECT_EQ(done.status, 0);
    EXPECT_TRUE(done.messages.empty());
    platform::SetEnv("QUORLE_RECORDER_EXIT", "3");
    StepOutcome failed = RunTool(tool + " c", messages);
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.messages, UserMessages{ErrorText("F-ail")});
    platform::SetEnv("QUORLE_RECORDER_EXIT", "0");
    platform::SetEnv("QUORLE_RECORDER_SLEEP_MS", "5000");
    auto started = std::chrono::steady_clock::now();
    StepOutcome late = RunTool(tool + " d", messages, 300);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(4));
    EXPECT_EQ(late.status, 1);
    EXPECT_EQ(late.messages, UserMessages{ErrorText("T-out")});
    StepOutcome missing = RunTool(p.root + "/no-such-tool.exe", messages);
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.messages.empty());
    // Showing the messages is left to the phase handler.
    EXPECT_TRUE(p.MessageLines().empty());
    EXPECT_EQ(p.ToolCalls().size(), 3u);
}

TEST(Feedback, ScrambledCountRoundTripsAndThresholds) {
    EXPECT_EQ(ScrambleCount(ScrambleCount("00000042")), "00000042");
    EXPECT_NE(EncodeCount(42), "00000042");
    EXPECT_EQ(EncodeCount(1).size(), 8u);
    EXPECT_EQ(DecodeCount(EncodeCount(12345678)), 12345678u);
    EXPECT_EQ(ScrambleCount("0")[0], '0' ^ 'p');
    for (uint32_t c : {30u, 100u, 500u, 1000u, 2500u}) EXPECT_TRUE(IsFeedbackThreshold(c)) << c;
    for (uint32_t c : {0u, 1u, 29u, 31u, 99u, 101u, 250u, 501u})
        EXPECT_FALSE(IsFeedbackThreshold(c)) << c;
    EXPECT_TRUE(ParseFeedbackAnswer("FEEDBACK").provideFeedback);
    EXPECT_FALSE(ParseFeedbackAnswer("FEEDBACK").dontAskAgain);
    EXPECT_TRUE(ParseFeedbackAnswer("NOTHANKS+NOASK").dontAskAgain);
    EXPECT_FALSE(ParseFeedbackAnswer("NOTHANKS+NOASK").provideFeedback);
    EXPECT_FALSE(ParseFeedbackAnswer("OK").provideFeedback);
    EXPECT_EQ(FeedbackUrl("Dravik GNUCORVO [ELF]-v4", 30),
              std::string(kFeedbackAddress) +
                  "?toolChainName=Dravik%20GNUCORVO%20%5BELF%5D-v4&count=30");
}

namespace {

// A link as the post phase counts it, with the request shown as the export
// shows it.
std::optional<uint32_t> CountAndAsk(const std::string& tag) {
    std::optional<uint32_t> count = CountLinkForFeedback(tag);
    if (auto request = FeedbackRequestFor(tag, count)) ShowFeedbackRequest(*request);
    return count;
}

} // namespace

TEST(Feedback, OnlyAThresholdCountAsksAndOnlyTheExportShowsTheDialog) {
    ScratchProject p;
    EXPECT_FALSE(FeedbackRequestFor("T", std::nullopt));
    EXPECT_FALSE(FeedbackRequestFor("T", 29u));
    EXPECT_EQ(FeedbackRequestFor("T", 500u), (FeedbackRequest{"T", 500}));
    EXPECT_EQ(FeedbackRequestText({"T-v4", 30}),
              "You have now linked 30 times with T-v4.\nWould you take a moment to tell us what "
              "you think of the Dravik GNU tools?");
    // Counting alone never opens anything, even at a threshold.
    const std::string tag = "T-" + p.toolchainDir.substr(p.root.size() + 1);
    platform::RegistrySetValue(std::string(kFeedbackStoreKey) + tag, EncodeCount(29));
    EXPECT_EQ(CountLinkForFeedback(tag).value_or(0), 30u);
    EXPECT_TRUE(p.MessageLines().empty());
}

TEST(Feedback, DialogAtThirtyThenNotAfterDontAskAgain) {
    ScratchProject p;
    // Unique per run: a Windows registry keeps the counters of earlier runs.
    const std::string tag = "Dravik GNUPELKA [ELF]-" + p.toolchainDir.substr(p.root.size() + 1);
    const std::string counterKey = std::string(kFeedbackStoreKey) + tag;
    EXPECT_EQ(CountAndAsk(tag).value_or(0), 1u);
    EXPECT_EQ(platform::RegistryQueryValue(counterKey).value_or(""), EncodeCount(1));
    // Jump ahead: the stored, scrambled count is what the step continues from.
    platform::RegistrySetValue(counterKey, EncodeCount(28));
    EXPECT_EQ(CountAndAsk(tag).value_or(0), 29u);
    EXPECT_TRUE(p.MessageLines().empty());
    p.QueueAnswers("FEEDBACK");
    EXPECT_EQ(CountAndAsk(tag).value_or(0), 30u);
    auto lines = p.MessageLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(0, 21), "Request for Feedback\t");
    EXPECT_EQ(lines[0].substr(lines[0].size() - 9), "\tFEEDBACK");
    ASSERT_EQ(lines[1].substr(0, 5), "OPEN\t");
    std::string shortcut = lines[1].substr(5);
    EXPECT_EQ(shortcut.substr(shortcut.size() - 4), ".url");
    EXPECT_EQ(p.ReadBytes(shortcut), "[InternetShortcut]\r\nURL=" + FeedbackUrl(tag, 30) + "\r\n");
    fs::remove(shortcut);
    EXPECT_EQ(
        platform::RegistryQueryValue(std::string(kFeedbackStoreKey) + "FeedbackRequests-" + tag)
            .value_or(""),
        "1");
    EXPECT_EQ(CountAndAsk(tag).value_or(0), 31u);
    EXPECT_EQ(p.MessageLines().size(), 2u);
    // At 100 the user declines for good; no count, no dialog afterwards.
    platform::RegistrySetValue(counterKey, EncodeCount(99));
    p.QueueAnswers("NOTHANKS+NOASK");
    EXPECT_EQ(CountAndAsk(tag).value_or(0), 100u);
    EXPECT_EQ(p.MessageLines().size(), 3u);
    platform::RegistrySetValue(counterKey, EncodeCount(499));
    EXPECT_FALSE(CountAndAsk(tag));
    EXPECT_EQ(p.MessageLines().size(), 3u);
    EXPECT_EQ(platform::RegistryQueryValue(counterKey).value_or(""), EncodeCount(499));
}

TEST(Feedback, NothingQueuedAnswersNoThanks) {
    ScratchProject p;
    ShowFeedbackRequest({"T-" + p.toolchainDir.substr(p.root.size() + 1), 500});
    auto lines = p.MessageLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].substr(lines[0].size() - 9), "\tNOTHANKS");
}

TEST(PostSteps, BuildTagAndReportText) {
    ScratchProject p;
    p.toolchainDir = "C:\\Tools\\Dravik\\v4.1";
    EXPECT_EQ(BuildTag(*p.Info()), "Dravik GNUCORVO [ELF]-v4.1");
    std::string heading = ReportHeading("T", "D");
    EXPECT_EQ(heading, "\n\n" + std::string(62, '=') + "\n\nListfile generated by T on D");

    std::string list = p.configDir + "/a.lst";
    std::string sub = p.configDir + "/a.gcc";
    p.WriteText(sub, "-c\r\n\"a.c\"\r\n");
    AppendListReport(list, sub, "T", "D"); // no list file: nothing is created
    EXPECT_FALSE(fs::exists(list));
    p.WriteText(list, "LISTING\r\n");
    AppendListReport(list, p.configDir + "/none.gcc", "T", "D");
    EXPECT_EQ(p.ReadBytes(list), "LISTING\r\n");
    AppendListReport(list, sub, "T", "D");
    EXPECT_EQ(p.ReadBytes(list), "LISTING\r\n\r\n\r\n" + std::string(62, '=') +
                                     "\r\n\r\nListfile generated by T on D\r\n\r\nBuild "
                                     "options:\r\n\r\n-c\r\n\"a.c\"\r\n");
}

TEST(PostSteps, MapReportUserFileOrGeneratedFiles) {
    ScratchProject p;
    std::string map = p.configDir + "/demo.map";
    std::string sub = p.configDir + "/demo.gld";
    std::string input = p.configDir + "/demo_input.tmp";
    EXPECT_FALSE(AppendMapReport(map, false, sub, input, "T", "D"));
    p.WriteText(map, "");
    EXPECT_TRUE(AppendMapReport(map, true, sub, input, "T", "D"));
    std::string heading =
        "\r\n\r\n" + std::string(62, '=') + "\r\n\r\nListfile generated by T on D\r\n";
    EXPECT_EQ(p.ReadBytes(map), heading + "\r\nUser sub-command file was specified\r\n");
    p.WriteText(map, "");
    p.WriteText(sub, "-o \"demo.x\"\n");
    EXPECT_TRUE(AppendMapReport(map, false, sub, input, "T", "D"));
    EXPECT_EQ(p.ReadBytes(map), heading); // the input file is missing
    p.WriteText(map, "");
    p.WriteText(input, "INPUT(\"a.o\")\n");
    EXPECT_TRUE(AppendMapReport(map, false, sub, input, "T", "D"));
    EXPECT_EQ(p.ReadBytes(map),
              heading + "\r\nBuild options:\r\n\r\n-o \"demo.x\"\r\nINPUT(\"a.o\")\r\n");
}

TEST(PostSteps, ArchiveAndConverterCommandLines) {
    ScratchProject p;
    p.toolchainDir = "C:\\gnu";
    p.configDir = "C:\\prj\\DEBUG";
    EXPECT_EQ(ArchiveCommand(*p.Info(), "C:\\prj\\DEBUG\\a.o"),
              "C:\\gnu/corvo-elf/bin/corvo-elf-ar.exe -src  \"C:\\prj\\DEBUG\\demo.a\" "
              "\"C:\\prj\\DEBUG\\a.o\"");
    EXPECT_EQ(SRecordCommand(*p.Info(), "[S|OUTFORM|BOTH]"),
              "C:\\gnu/corvo-elf/bin/corvo-elf-objcopy.exe -O srec \"C:\\prj\\DEBUG\\demo.x\" "
              "\"C:\\prj\\DEBUG\\demo.mot\"");
    p.toolchainName = "Dravik GNUZENTA [ELF]";
    EXPECT_EQ(SRecordCommand(*p.Info(), "[S|OUTFORM|BOTH]"),
              "C:\\gnu/zenta-elf/bin/zenta-elf-objcopy.exe -I elf32-zenta-be-ns  -O srec "
              "\"C:\\prj\\DEBUG\\demo.x\" \"C:\\prj\\DEBUG\\demo.mot\"");
    EXPECT_EQ(SRecordCommand(*p.Info(), "[S|OUTFORM|BOTH] [S|ENDIAN|LITTLE]"),
              "C:\\gnu/zenta-elf/bin/zenta-elf-objcopy.exe -O srec \"C:\\prj\\DEBUG\\demo.x\" "
              "\"C:\\prj\\DEBUG\\demo.mot\"");
    // The post-phase steps compare the toolchain name exactly.
    p.toolchainName = "dravik gnuzenta [elf]";
    EXPECT_EQ(SRecordCommand(*p.Info(), ""), "");
    StepOutcome unknown = RunSRecordStep(*p.Info(), "");
    EXPECT_EQ(unknown.status, 1);
    EXPECT_TRUE(unknown.messages.empty());
    p.toolchainName = "Dravik GNUTAMSIN [ELF]";
    p.toolchainDir = "C:\\Program Files\\gnu";
    EXPECT_EQ(ArchiveCommand(*p.Info(), "b.o").substr(0, 1), "\"");
}

TEST(PostSteps, TemporaryFilesAfterBannersOnlyPlainFiles) {
    ScratchProject p;
    const std::string banner = "; *** Temporary file was made (Tessar Build Phase DLL) ***";
    p.WriteText(p.configDir + "/t1.tmp", "x");
    p.WriteText(p.configDir + "/keep.tmp", "x");
    p.WriteText(p.configDir + "/w1.tmp", "x");
    fs::create_directories(p.configDir + "/dir.tmp");
    std::string sub = p.configDir + "/user.sub";
    p.WriteText(sub, banner + "\n-input \"" + p.configDir + "/t1.tmp\"\n" + "-input \"" +
                         p.configDir + "/keep.tmp\"\n" + banner + "\n-input \"" + p.configDir +
                         "/dir.tmp\"\n" + banner + "\n-input \"" + p.configDir + "/w*.tmp\"\n" +
                         banner + "\n-input \"\"\n" + banner + "\n-input\n" + banner +
                         "\n-input \"missing.tmp\"\n");
    EXPECT_EQ(DeleteTemporaryFiles(sub, banner), 1);
    EXPECT_FALSE(fs::exists(p.configDir + "/t1.tmp"));
    EXPECT_TRUE(fs::exists(p.configDir + "/keep.tmp"));
    EXPECT_TRUE(fs::is_directory(p.configDir + "/dir.tmp"));
    EXPECT_TRUE(fs::exists(p.configDir + "/w1.tmp"));
    // A relative name is taken in the sub-command file's directory.
    p.WriteText(sub, banner + "\n-input \"keep.tmp\"\n");
    EXPECT_EQ(DeleteTemporaryFiles(sub, banner), 1);
    EXPECT_FALSE(fs::exists(p.configDir + "/keep.tmp"));
}
