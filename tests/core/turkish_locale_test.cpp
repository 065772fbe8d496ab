// Names compared without regard to case must fold only A-Z, whatever locale
// the host process sets. Under Turkish, tolower('I') is the dotless i and
// toupper('i') the dotted capital I, so a locale-dependent fold breaks there.
#include <gtest/gtest.h>

#include <cctype>
#include <clocale>
#include <filesystem>
#include <string>

#include "core/ascii_text.h"
#include "depend/scan_lists.h"
#include "makefile/relative_path.h"
#include "platform/platform.h"
#include "platform/wildcard.h"
#include "support/temp_dir.h"

using namespace quorle;

namespace {

constexpr const char* kLocale = "tr_TR.ISO-8859-9";

// Builds the Turkish locale into a fresh folder and switches the process to
// it; restores the C locale and LOCPATH on destruction.
class TurkishLocale {
  public:
    TurkishLocale() {
        if (!platform::RunProcess("localedef --help", {}).started) {
            skipReason_ = "localedef is missing (install the 'locales' package)";
            return;
        }
        platform::ProcessResult made = platform::RunProcess(
            "localedef -i tr_TR -f ISO-8859-9 " + (dir_.Root() / kLocale).string(), {});
        saved_ = platform::GetEnv("LOCPATH");
        platform::SetEnv("LOCPATH", dir_.Path());
        active_ = std::setlocale(LC_ALL, kLocale) != nullptr;
        if (!active_) failure_ = "localedef gave no usable locale: " + made.output;
    }
    ~TurkishLocale() {
        std::setlocale(LC_ALL, "C");
        if (saved_)
            platform::SetEnv("LOCPATH", *saved_);
        else
            platform::UnsetEnv("LOCPATH");
    }
    const std::string& SkipReason() const { return skipReason_; }
    const std::string& Failure() const { return failure_; }
    bool Active() const { return active_; }

  private:
    testing_support::TempDir dir_{"quorle-turkish"};
    std::optional<std::string> saved_;
    std::string skipReason_, failure_;
    bool active_ = false;
};

} // namespace

TEST(TurkishLocale, CaseFoldingStaysAscii) {
    TurkishLocale turkish;
    if (!turkish.SkipReason().empty()) GTEST_SKIP() << turkish.SkipReason();
    ASSERT_TRUE(turkish.Active()) << turkish.Failure();
    // The locale is really in force: the C library folds I and i differently.
    ASSERT_NE(std::tolower(static_cast<unsigned char>('I')), 'i');

    EXPECT_EQ(core::ToAsciiLower("LINKER.LIB"), "linker.lib");
    EXPECT_EQ(core::ToAsciiUpper("file"), "FILE");
    EXPECT_TRUE(core::EqualsIgnoringCase("INCLUDE", "include"));
    EXPECT_EQ(depend::LowerPath("C:\\INC\\Io.H"), "c:\\inc\\io.h");
    EXPECT_TRUE(platform::WildcardMatch("*.LIB", "crti.lib"));
    EXPECT_EQ(makefile::RelativeMakefilePath("C:\\WIN\\PROJ\\src\\I.c", "c:\\win\\proj"),
              "src\\I.c");
    // Queued answers are matched case-blind too: "yes" must read as Yes.
    testing_support::TempDir answers("quorle-answers");
    std::filesystem::path log = answers.Root() / "log.txt";
    platform::SetEnv("QUORLE_MESSAGES", log.string());
    platform::SetEnv("QUORLE_ANSWERS", "yes");
    platform::MessageAnswer answer =
        platform::ShowMessage("Q", "?", platform::MessageButtons::YesNo);
    platform::UnsetEnv("QUORLE_ANSWERS");
    platform::UnsetEnv("QUORLE_MESSAGES");
    EXPECT_EQ(answer, platform::MessageAnswer::Yes);
}
