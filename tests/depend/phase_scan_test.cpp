// Assembler, linker and generator phases of the dependency scan.
#include <gtest/gtest.h>

#include "depend/dependency_scan.h"
#include "platform/platform.h"
#include "scan_test_support.h"
#include "sections/layout_text.h"

using namespace quorle::depend;
using quorle::ErrorText;
using quorle::UserMessages;
namespace sections = quorle::sections;
using scantest::Entries;
using scantest::TempTree;
namespace platform = quorle::platform;

namespace {

class PhaseScan : public ::testing::Test {
  protected:
    void SetUp() override {
        info_ = scantest::ProjectInfo();
        config_ = tree_.MakeDir("config");
        info_.configDir = config_.c_str();
        info_.projectName = "proj";
        request_.size = sizeof(QuorleDependencyRequest);
        request_.path = "";
        ScanCall reset;
        reset.reset = true;
        ScanAssembler(reset);
        cwd_ = platform::GetCurrentDirectory();
    }
    void TearDown() override { platform::SetCurrentDirectory(cwd_); }

    ScanCall Call(const std::string& path, const std::string& options, int batch) {
        ScanCall call;
        path_ = path;
        options_ = options;
        call.filePath = path_.c_str();
        call.fileType = "Assembly source file";
        call.text = "";
        call.options = options_.c_str();
        call.batchContinuation = batch;
        call.result = &block_;
        call.extra = {&info_, &info_, &info_};
        call.info = &info_;
        call.request = &request_;
        return call;
    }

    // The entries of the block the last call handed out, then frees it.
    std::vector<std::string> Taken() {
        std::vector<std::string> entries = Entries(block_);
        std::free(block_);
        block_ = nullptr;
        return entries;
    }

    TempTree tree_;
    std::string config_, cwd_, path_, options_;
    QuorleProjectInfo info_{};
    QuorleDependencyRequest request_{};
    char* block_ = nullptr;
};

} // namespace

TEST_F(PhaseScan, AssemblerHandsOutOncePerBatchFromItsCache) {
    std::string inc = tree_.Write("src/rel/one.inc", "");
    tree_.Write("src/a.src", ".include \"one.inc\"\n");
    // The source is named relative to the configuration directory, and a
    // relative include directory relative to the source's directory.
    std::string source = "../src/a.src";
    std::string options = "[V|VERSION|2] [S|INCDIR|\"rel\"]";
    ASSERT_EQ(ScanAssembler(Call(source, options, 0)), 0);
    EXPECT_EQ(Taken(), std::vector<std::string>{inc + "|FALSE|Assembly include file"});
    EXPECT_EQ(platform::GetCurrentDirectory(), cwd_);

    // Same batch: handed out already. Upper case names the same file.
    std::string upper = source;
    upper.replace(upper.size() - 5, 5, "A.SRC");
    ASSERT_EQ(ScanAssembler(Call(upper, options, 1)), 0);
    EXPECT_TRUE(Taken().empty());

    // A new batch hands the cached list out again, even after the file changed.
    tree_.Write("src/a.src", "bad line .include \"x\"\n");
    ASSERT_EQ(ScanAssembler(Call(source, options, 0)), 0);
    EXPECT_EQ(Taken().size(), 1u);

    // After a reset call the file is read again.
    ScanCall reset;
    reset.reset = true;
    EXPECT_EQ(ScanAssembler(reset), 0);
    ASSERT_EQ(ScanAssembler(Call(source, options, 0)), 0);
    EXPECT_EQ(Taken(),
              std::vector<std::string>{"ERROR|" + source + "(1) : DA306 (F) Syntax error"});
}

TEST_F(PhaseScan, AssemblerKeepsIncludeDirectoriesForTheBatch) {
    std::string inc = tree_.Write("incs/k.inc", "");
    std::string first = tree_.Write("src/b1.src", ".include \"k.inc\"\n");
    std::string second = tree_.Write("src/b2.src", ".include \"k.inc\"\n.include \"m.inc\"\n");
    ASSERT_EQ(ScanAssembler(Call(first, "[S|INCDIR|\"" + tree_.Path("incs") + "\"]", 0)), 0);
    EXPECT_EQ(Taken(), std::vector<std::string>{inc + "|FALSE|Assembly include file"});
    // Continuing the batch: the cached directories and missing-include flag
    // stand, whatever this call's options say; k.inc was reported already.
    ASSERT_EQ(ScanAssembler(Call(second, "[B|SKIPDEPENDENCY|1]", 1)), 0);
    EXPECT_EQ(Taken(), std::vector<std::string>{"ERROR|" + second +
                                                "(2) : DA201 (E) A header file does not exist "
                                                "'m.inc'"});
}

TEST_F(PhaseScan, AssemblerArgumentChecks) {
    std::string source = tree_.Write("src/c.src", "");
    ScanCall call = Call(source, "", 0);
    call.text = nullptr;
    EXPECT_EQ(ScanAssembler(call), 1);
    call = Call(source, "", 0);
    request_.size = 16;
    EXPECT_EQ(ScanAssembler(call), 1);
    request_.size = sizeof(QuorleDependencyRequest);
    info_.configDir = "/no/such/config/dir";
    EXPECT_EQ(ScanAssembler(Call(source, "", 0)), 1);
    EXPECT_EQ(platform::GetCurrentDirectory(), cwd_);
}

TEST_F(PhaseScan, LinkerSubcommandFile) {
    std::string file = tree_.Write("config/link.sub", "");
    auto linker = [&](const std::string& options) {
        ScanCall call = Call("x", options, 0);
        ScanOutcome outcome = ScanLinker(call);
        EXPECT_EQ(outcome.status, 0);
        EXPECT_TRUE(outcome.messages.empty());
        EXPECT_EQ(platform::GetCurrentDirectory(), cwd_);
        return Taken();
    };
    EXPECT_TRUE(linker("[B|SUBCOMMAND|1]").empty());
    EXPECT_TRUE(linker("[S|EXTFILE|\"link.sub\"]").empty());
    EXPECT_EQ(linker("[B|SUBCOMMAND|1] [S|EXTFILE|\"link.sub\"]"),
              std::vector<std::string>{file + "|FALSE|Subcommand file"});
    EXPECT_EQ(linker("[B|SUBCOMMAND|1] [S|EXTFILE|\"gone.sub\"]"),
              std::vector<std::string>{"ERROR|** DL201 (E) The specified file does not exist '" +
                                       config_ + "/gone.sub'"});
    tree_.MakeDir("config/adir");
    EXPECT_EQ(
        linker("[B|SUBCOMMAND|1] [S|EXTFILE|\"adir\"]"),
        std::vector<std::string>{"ERROR|** DL202 (E) Directory instead of file is specified as '" +
                                 config_ + "/adir'"});
    // A group text that ends inside a group is reported with the scan's
    // answer, which still names the file.
    ScanOutcome truncated = ScanLinker(
        Call("x",
             "[B|SUBCOMMAND|1] [S|EXTFILE|\"link.sub\"] "
             "[S|GROUPDET|.a|0|0||0||0|0|<<CEND>>|<<GEND>>|.g|0|0||0||0|0|0|.text|All-files]",
             0));
    EXPECT_EQ(truncated.status, 0);
    EXPECT_EQ(truncated.messages, UserMessages{ErrorText(std::string(sections::kGroupReadError))});
    EXPECT_EQ(Taken(), std::vector<std::string>{file + "|FALSE|Subcommand file"});
    ScanCall call = Call("x", "", 0);
    call.extra[1] = nullptr;
    EXPECT_EQ(ScanLinker(call).status, 1);
}

TEST_F(PhaseScan, GeneratorFindsCompressedLibrary) {
    std::string requested = tree_.Path("lib/") + "anything.txt";
    request_.path = requested.c_str();
    ScanCall call = Call("x", "", 0);
    ASSERT_EQ(ScanGenerator(call), 0);
    EXPECT_TRUE(Taken().empty());
    std::string pak = tree_.Write("lib/runtime.pak", "");
    ASSERT_EQ(ScanGenerator(Call("x", "", 0)), 0);
    EXPECT_EQ(Taken(), std::vector<std::string>{pak + "|FALSE|Library compressed file"});
    request_.path = nullptr;
    EXPECT_EQ(ScanGenerator(Call("x", "", 0)), 1);
}
