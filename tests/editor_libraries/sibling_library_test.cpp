#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "sheet/sibling_library.h"

using quorle::sheet::SiblingLibrary;

namespace {

const std::string kCorvo = "Dravik GNUCORVO [ELF]";

std::string VariantPlugin(const std::string& variant) {
    return std::string(QUORLE_TEST_SIBLING_VARIANTS) + "/" + variant + "/lib/Quorle.dll";
}

// The variant must be there, or a refusal would prove nothing.
void ExpectVariantBuilt(const std::string& variant) {
#if defined(_WIN32)
    const char* name = "Sivrel.dll";
#else
    const char* name = "Sivrel.so";
#endif
    ASSERT_TRUE(std::filesystem::exists(std::filesystem::path(QUORLE_TEST_SIBLING_VARIANTS) /
                                        variant / name));
}

// Everything an unusable sibling must answer: no phase enabled, raw text.
void ExpectUnavailable(const SiblingLibrary& sibling) {
    EXPECT_FALSE(sibling.Available());
    EXPECT_FALSE(sibling.IsEnablePhase(kCorvo, "GNU Compiler"));
    EXPECT_FALSE(sibling.IsEnablePhase(kCorvo, "GNU Linker"));
    EXPECT_EQ(sibling.ConvertRawToCook(kCorvo, "\"$(CONFIGDIR)\\a.o\""), "\"$(CONFIGDIR)\\a.o\"");
    EXPECT_EQ(sibling.ConvertRawToCook(kCorvo, ""), "");
}

} // namespace

TEST(SiblingLibrary, TheStandInBesideThePluginDirectoryIsUsed) {
    std::string path = QUORLE_TEST_PLUGIN_FILE;
    std::replace(path.begin(), path.end(), '/', '\\'); // as a Windows host passes it
    auto sibling = SiblingLibrary::Open(path);
    ASSERT_NE(sibling, nullptr);
    ASSERT_TRUE(sibling->Available());

    EXPECT_TRUE(sibling->IsEnablePhase(kCorvo, "GNU Compiler"));
    EXPECT_TRUE(sibling->IsEnablePhase(kCorvo, "GNU Assembler"));
    EXPECT_TRUE(sibling->IsEnablePhase("dravik gnutamsinb [elf]", "OptLinker"));
    EXPECT_TRUE(sibling->IsEnablePhase(kCorvo, "GNU Library Generator"));
    EXPECT_FALSE(sibling->IsEnablePhase(kCorvo, "Debug"));
    EXPECT_FALSE(sibling->IsEnablePhase(kCorvo, "GNU compiler"));
    EXPECT_FALSE(sibling->IsEnablePhase("Other GNU", "GNU Compiler"));

    EXPECT_EQ(sibling->ConvertRawToCook(kCorvo, "-o \"$(CONFIGDIR)\\$(FILELEAF).o\" -I$(X"),
              "-o \"<CONFIGDIR>\\<FILELEAF>.o\" -I$(X");
    EXPECT_EQ(sibling->ConvertRawToCook(kCorvo, "no placeholder"), "no placeholder");
    EXPECT_EQ(sibling->ConvertRawToCook(kCorvo, ""), "");
    std::string longText(100000, 'x');
    longText += "$(TCINSTALL)";
    EXPECT_EQ(sibling->ConvertRawToCook(kCorvo, longText),
              std::string(100000, 'x') + "<TCINSTALL>");
}

TEST(SiblingLibrary, WithoutTheLibraryEveryAnswerIsTheNeutralOne) {
    auto sibling = SiblingLibrary::Open(VariantPlugin("missing"));
    ASSERT_NE(sibling, nullptr);
    ExpectUnavailable(*sibling);
    auto bare = SiblingLibrary::Open("Quorle.dll");
    ASSERT_NE(bare, nullptr);
    EXPECT_FALSE(bare->Available());
}

TEST(SiblingLibrary, AnInterfaceVersionBelowOnePointZeroIsRefused) {
    ASSERT_NO_FATAL_FAILURE(ExpectVariantBuilt("too_old"));
    auto sibling = SiblingLibrary::Open(VariantPlugin("too_old"));
    ASSERT_NE(sibling, nullptr);
    ExpectUnavailable(*sibling);
}

TEST(SiblingLibrary, AFailingVersionCallIsRefused) {
    ASSERT_NO_FATAL_FAILURE(ExpectVariantBuilt("failing"));
    auto sibling = SiblingLibrary::Open(VariantPlugin("failing"));
    ASSERT_NE(sibling, nullptr);
    ExpectUnavailable(*sibling);
}
