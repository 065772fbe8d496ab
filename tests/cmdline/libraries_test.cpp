#include <gtest/gtest.h>

#include "cmdline/linker_libraries.h"
#include "models/linker_model.h"
#include "toolchain/cpu_table.h"

using namespace quorle::cmdline;
using quorle::models::CLinkerModel;

using Libs = std::vector<std::string>;

TEST(DefaultLibraries, ApplicationGetsTheCLibrariesLast) {
    CLinkerModel model("[S|CPUTYPE|CV2] [B|FIXUPLIBS|1]");
    model.m_listLibraries = {"LIBC.A", "libuser.a", "libm.a", "liboptc.a", "libgen.a"};
    FixUpDefaultLibraries(model, "gen");
    // The generator's library is the project library and goes with the defaults.
    EXPECT_EQ(model.m_listLibraries, (Libs{"libuser.a", "libm.a", "libc.a"}));
    model.m_bOptLib = true;
    FixUpDefaultLibraries(model);
    EXPECT_EQ(model.m_listLibraries, (Libs{"libuser.a", "liboptm.a", "liboptc.a"}));
}

TEST(DefaultLibraries, LibraryProjectGetsItsOwnArchive) {
    CLinkerModel model("[S|CPUTYPE|ZN600] [B|FIXUPLIBS|1] [B|DOPROJBUILT|1]");
    model.m_listLibraries = {"libnosys.a", "libc.a", "libx.a", "lib$(PROJECTNAME).a"};
    FixUpDefaultLibraries(model);
    EXPECT_EQ(model.m_listLibraries, (Libs{"libx.a", "lib$(PROJECTNAME).a"}));
}

TEST(DefaultLibraries, ZentaAddsNosysAndOnlyWithTheFlag) {
    CLinkerModel zenta("[S|CPUTYPE|ZN600] [B|FIXUPLIBS|1]");
    zenta.m_listLibraries = {"LIBNOSYS.A", "liba.a"};
    FixUpDefaultLibraries(zenta);
    EXPECT_EQ(zenta.m_listLibraries, (Libs{"liba.a", "libm.a", "libc.a", "libnosys.a"}));
    // "libnosys.a" is only a default library of the Zenta toolchain.
    CLinkerModel corvo("[S|CPUTYPE|CV1] [B|FIXUPLIBS|1]");
    corvo.m_listLibraries = {"libnosys.a"};
    FixUpDefaultLibraries(corvo);
    EXPECT_EQ(corvo.m_listLibraries, (Libs{"libnosys.a", "libm.a", "libc.a"}));
    CLinkerModel off("[S|CPUTYPE|CV1]");
    off.m_listLibraries = {"libc.a", "liba.a"};
    FixUpDefaultLibraries(off);
    FixUpLibraryDirectories(off);
    EXPECT_EQ(off.m_listLibraries, (Libs{"libc.a", "liba.a"}));
}

TEST(LibraryDirectories, ApplicationPointsToolchainDirectoriesAtTheMultilib) {
    CLinkerModel model("[S|CPUTYPE|CV2] [S|ENDIAN|LITTLE] [B|FIXUPLIBS|1]");
    const std::string multilib = model.m_cpu.Multilib();
    ASSERT_FALSE(multilib.empty());
    model.m_listLibDirs = {"$(TCINSTALL)\\corvo-elf\\corvo-elf\\lib",
                           "$(tcinstall)\\CORVO-ELF\\lib\\gcc\\corvo-elf\\4.7\\old", "$(configdir)",
                           "C:\\mine"};
    FixUpLibraryDirectories(model);
    EXPECT_EQ(model.m_listLibDirs,
              (Libs{"$(TCINSTALL)\\corvo-elf\\corvo-elf\\lib\\" + multilib,
                    "$(TCINSTALL)\\corvo-elf\\lib\\gcc\\corvo-elf\\" + multilib, "C:\\mine"}));
    // Running it again changes nothing.
    Libs once = model.m_listLibDirs;
    FixUpLibraryDirectories(model);
    EXPECT_EQ(model.m_listLibDirs, once);
}

TEST(LibraryDirectories, LibraryProject) {
    CLinkerModel model("[S|CPUTYPE|CV2] [B|FIXUPLIBS|1] [B|DOPROJBUILT|1] "
                       "[S|PROJECTTYPE|CPPAPPPROJECT]");
    const std::string multilib = model.m_cpu.Multilib();
    model.m_listLibDirs = {"$(TCINSTALL)\\pelka-elf\\pelka-elf\\lib\\x",
                           "$(TCINSTALL)\\corvo-elf\\lib\\gcc\\corvo-elf\\", "C:\\mine"};
    FixUpLibraryDirectories(model);
    EXPECT_EQ(model.m_listLibDirs,
              (Libs{"$(TCINSTALL)\\corvo-elf\\lib\\gcc\\corvo-elf\\" + multilib, "C:\\mine",
                    quorle::toolchain::TargetLibraryPath(100, multilib), "$(CONFIGDIR)"}));
    // "$(CONFIGDIR)" anywhere in a directory is enough.
    CLinkerModel c("[S|CPUTYPE|CV2] [B|FIXUPLIBS|1] [B|DOPROJBUILT|1]");
    c.m_listLibDirs = {"$(CONFIGDIR)\\sub"};
    FixUpLibraryDirectories(c);
    EXPECT_EQ(c.m_listLibDirs, (Libs{"$(CONFIGDIR)\\sub"}));
}

TEST(LibraryDirectories, UnknownFamilyLeavesToolchainDirectoriesAlone) {
    CLinkerModel model("[B|FIXUPLIBS|1]");
    model.m_listLibDirs = {"$(TCINSTALL)\\corvo-elf\\corvo-elf\\lib\\cv2", "$(CONFIGDIR)"};
    FixUpLibraryDirectories(model);
    EXPECT_EQ(model.m_listLibDirs, (Libs{"$(TCINSTALL)\\corvo-elf\\corvo-elf\\lib\\cv2"}));
}
