#include <gtest/gtest.h>

#include <string>

#include "interface/quorle.h"
#include "resources/string_table.h"
#include "toolchain/family.h"

using namespace quorle::toolchain;

TEST(ToolchainFamily, TwoLookupOrdersAndCaseRules) {
    struct Case {
        const char* name;
        std::optional<Family> ignoringCase, exact;
    } cases[] = {
        {"Dravik GNUCORVO [ELF]", Family::Corvo, Family::Corvo},
        {"Dravik GNUPELKA [ELF]", Family::Pelka, Family::Pelka},
        {"Dravik GNUTAMSIN [ELF]", Family::Tamsin, Family::Tamsin},
        {"Dravik GNUZENTA [ELF]", Family::Zenta, Family::Zenta},
        // The editor and linker find it; the tool runners do not.
        {"dravik gnucorvo [elf]", Family::Corvo, std::nullopt},
        {"DRAVIK GNUZENTA [ELF]", Family::Zenta, std::nullopt},
        // Effective names and near misses are no family.
        {"Dravik GNUTAMSINA [ELF]", std::nullopt, std::nullopt},
        {"Dravik GNUCORVO [ELF] ", std::nullopt, std::nullopt},
        {"Dravik GNUCORVO", std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FamilyIgnoringCase(c.name), c.ignoringCase) << c.name;
        EXPECT_EQ(FamilyExact(c.name), c.exact) << c.name;
    }
}

TEST(ToolchainFamily, EffectiveNameAndFamilyCode) {
    struct Case {
        const char* toolchain;
        const char* cpuSeries;
        std::string effective;
        int code;
    } cases[] = {
        {"Dravik GNUCORVO [ELF]", "TAMSINA", "Dravik GNUCORVO [ELF]", kCodeCorvo},
        {"Dravik GNUPELKA [ELF]", "", "Dravik GNUPELKA [ELF]", kCodePelka},
        {"Dravik GNUZENTA [ELF]", "X", "Dravik GNUZENTA [ELF]", kCodeZenta},
        {"Dravik GNUTAMSIN [ELF]", "TAMSINA", "Dravik GNUTAMSINA [ELF]", kCodeTamsin16},
        {"Dravik GNUTAMSIN [ELF]", "tamsinb", "Dravik GNUTAMSINB [ELF]", kCodeTamsin32},
        {"dravik gnutamsin [elf]", "TamsinA", "Dravik GNUTAMSINA [ELF]", kCodeTamsin16},
        {"Dravik GNUTAMSIN [ELF]", "", "Unknown GNUTAMSIN mode", kCodeNone},
        {"Dravik GNUTAMSIN [ELF]", "TAMSINC", "Unknown GNUTAMSIN mode", kCodeNone},
        // The name is kept as given; the code compares exactly.
        {"dravik gnucorvo [elf]", "", "dravik gnucorvo [elf]", kCodeNone},
        {"Other", "TAMSINA", "Other", kCodeNone},
    };
    for (const Case& c : cases) {
        QuorleProjectInfo info{};
        info.size = sizeof info;
        info.toolchainName = c.toolchain;
        info.cpuSeries = c.cpuSeries;
        std::string effective = EffectiveToolchainName(info);
        EXPECT_EQ(effective, c.effective) << c.toolchain << " / " << c.cpuSeries;
        EXPECT_EQ(EffectiveToolchainName(c.toolchain, c.cpuSeries), c.effective);
        EXPECT_EQ(FamilyCodeOf(effective), c.code) << effective;
    }
    // A record without names folds nothing and has no family.
    QuorleProjectInfo empty{};
    EXPECT_EQ(EffectiveToolchainName(empty), "");
    EXPECT_EQ(FamilyCodeOf("Dravik GNUTAMSIN [ELF]"), kCodeNone);
}

TEST(ToolchainFamily, CaptionsComeFromTheStringTable) {
    struct Case {
        const char* name;
        int id;
        const char* caption;
    } cases[] = {
        {"Dravik GNUCORVO [ELF]", 50, "Dravik GNUCORVO [ELF] Toolchain"},
        {"dravik gnupelka [elf]", 51, "Dravik GNUPELKA [ELF] Toolchain"},
        {"Dravik GNUTAMSIN [ELF]", 52, "Dravik GNUTAMSIN [ELF] Toolchain"},
        {"Dravik GNUZENTA [ELF]", 53, "Dravik GNUZENTA [ELF] Toolchain"},
        {"Dravik GNUTAMSINB [ELF]", 54, "Dravik GNU Toolchain"},
        {"", 54, "Dravik GNU Toolchain"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CaptionStringId(c.name), c.id) << c.name;
        EXPECT_EQ(quorle::LoadModuleString(CaptionStringId(c.name)).value_or("?"), c.caption);
    }
}

TEST(InstallationLayout, ToolPathsAndDirectories) {
    const std::string install = "C:\\Tools\\gnu";
    EXPECT_EQ(ToolPath(Family::Corvo, Tool::CompilerDriver, install),
              "C:\\Tools\\gnu/corvo-elf/bin/corvo-elf-g++.exe");
    EXPECT_EQ(ToolPath(Family::Pelka, Tool::CompilerDriver, install),
              "C:\\Tools\\gnu/pelka-elf/bin/pelka-elf-g++.exe");
    EXPECT_EQ(ToolPath(Family::Tamsin, Tool::CompilerDriver, install),
              "C:\\Tools\\gnu/tamsin-elf/bin/tamsin-elf-gcc.exe");
    EXPECT_EQ(ToolPath(Family::Zenta, Tool::CompilerDriver, install),
              "C:\\Tools\\gnu/zenta-elf/bin/zenta-elf-gcc.exe");
    EXPECT_EQ(ToolPath(Family::Pelka, Tool::Archiver, install),
              "C:\\Tools\\gnu/pelka-elf/bin/pelka-elf-ar.exe");
    EXPECT_EQ(ToolPath(Family::Zenta, Tool::ObjectCopier, ""),
              "/zenta-elf/bin/zenta-elf-objcopy.exe");
    EXPECT_EQ(CompilerSupportDirectory(Family::Tamsin), "\\tamsin-elf\\libexec\\gcc\\tamsin-elf");
    EXPECT_EQ(CompilerSupportDirectory(Family::Corvo), "\\corvo-elf\\libexec\\gcc\\corvo-elf");
    EXPECT_EQ(TripletDirectory(Family::Pelka), "pelka-elf");
    // Every family's tools share its triplet directory.
    for (Family f : {Family::Corvo, Family::Pelka, Family::Tamsin, Family::Zenta}) {
        std::string triplet(TripletDirectory(f));
        for (Tool t : {Tool::Archiver, Tool::ObjectCopier, Tool::CompilerDriver})
            EXPECT_EQ(ToolPath(f, t, "").rfind("/" + triplet + "/bin/" + triplet + "-", 0), 0u);
    }
}

TEST(InstallationLayout, LibraryDirectoriesKeepThePlaceholder) {
    EXPECT_EQ(LibraryDirectory(kCodeCorvo, 0), "$(TCINSTALL)\\corvo-elf\\corvo-elf\\lib");
    EXPECT_EQ(LibraryDirectory(kCodeCorvo, 1), "$(TCINSTALL)\\corvo-elf\\lib\\gcc\\corvo-elf\\");
    EXPECT_EQ(LibraryDirectory(kCodePelka, 0), "$(TCINSTALL)\\pelka-elf\\pelka-elf\\lib");
    EXPECT_EQ(LibraryDirectory(kCodeTamsin16, 0), LibraryDirectory(kCodeTamsin32, 0));
    EXPECT_EQ(LibraryDirectory(kCodeTamsin32, 1),
              "$(TCINSTALL)\\tamsin-elf\\lib\\gcc\\tamsin-elf\\");
    EXPECT_EQ(LibraryDirectory(kCodeZenta, 1), "$(TCINSTALL)\\zenta-elf\\lib\\gcc\\zenta-elf\\");
    EXPECT_EQ(LibraryDirectory(kCodeNone, 0), "$(TCINSTALL)");
    EXPECT_EQ(LibraryDirectory(7, 1), "$(TCINSTALL)");
    EXPECT_EQ(LibraryDirectory(kCodeCorvo, 2), "");
    EXPECT_EQ(LibraryDirectory(kCodeCorvo, -1), "");
}

TEST(InstallationLayout, ToolchainHeaderDirectories) {
    EXPECT_TRUE(IsToolchainHeaderDirectory("$(TCINSTALL)\\corvo-elf\\include"));
    EXPECT_TRUE(IsToolchainHeaderDirectory("C:\\x\\zenta-elf\\optlibinc"));
    EXPECT_TRUE(IsToolchainHeaderDirectory("\\tamsin-elf\\"));
    // Exact case, and the directory name must stand between separators.
    EXPECT_FALSE(IsToolchainHeaderDirectory("$(TCINSTALL)\\Corvo-elf\\include"));
    EXPECT_FALSE(IsToolchainHeaderDirectory("$(TCINSTALL)/pelka-elf/include"));
    EXPECT_FALSE(IsToolchainHeaderDirectory("C:\\mypelka-elf\\include"));
    EXPECT_FALSE(IsToolchainHeaderDirectory("C:\\src\\include"));
}
