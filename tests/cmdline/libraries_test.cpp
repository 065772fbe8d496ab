#include <gtest/gtest.h>

#include "cmdline/linker_libraries.h"
#include "models/linker_model.h"
#include "toolchain/cpu_table.h"

using namespace quorle::cmdline;
using quorle::models::LinkerModel;

using Libs = std::vector<std::string>;

TEST(DefaultLibraries, ApplicationGetsTheCLibrariesLast) {
    LinkerModel model("[S|CPUTYPE|CV2] [B|FIXUPLIBS|1]");
    model.libraries_ = {"LIBC.A", "libuser.a", "libm.a", "liboptc.a", "libgen.a"};
    FixUpDefaultLibraries(model, "gen");
    // The generator's library is the project library and goes with the defaults.
    EXPECT_EQ(model.libraries_, (Libs{"libuser.a", "libm.a", "libc.a"}));
    model.optLib_ = true;
    FixUpDefaultLibraries(model);
    EXPECT_EQ(model.libraries_, (Libs{"libuser.a", "liboptm.a", "liboptc.a"}));
}

TEST(DefaultLibraries, LibraryProjectGetsItsOwnArchive) {
    LinkerModel model("[S|CPUTYPE|ZN600] [B|FIXUPLIBS|1] [B|DOPROJBUILT|1]");
    model.libraries_ = {"libnosys.a", "libc.a", "libx.a", "lib$(PROJECTNAME).a"};
    FixUpDefaultLibraries(model);
    EXPECT_EQ(model.libraries_, (Libs{"libx.a", "lib$(PROJECTNAME).a"}));
}

TEST(DefaultLibraries, ZentaAddsNosysAndOnlyWithTheFlag) {
    LinkerModel zenta("[S|CPUTYPE|ZN600] [B|FIXUPLIBS|1]");
    zenta.libraries_ = {"LIBNOSYS.A", "liba.a"};
    FixUpDefaultLibraries(zenta);
    EXPECT_EQ(zenta.libraries_, (Libs{"liba.a", "libm.a", "libc.a", "libnosys.a"}));
    // "libnosys.a" is only a default library of the Zenta toolchain.
    LinkerModel corvo("[S|CPUTYPE|CV1] [B|FIXUPLIBS|1]");
    corvo.libraries_ = {"libnosys.a"};
    FixUpDefaultLibraries(corvo);
    EXPECT_EQ(corvo.libraries_, (Libs{"libnosys.a", "libm.a", "libc.a"}));
    LinkerModel off("[S|CPUTYPE|CV1]");
    off.libraries_ = {"libc.a", "liba.a"};
    FixUpDefaultLibraries(off);
    FixUpLibraryDirectories(off);
    EXPECT_EQ(off.libraries_, (Libs{"libc.a", "liba.a"}));
}

TEST(LibraryDirectories, ApplicationPointsToolchainDirectoriesAtTheMultilib) {
    LinkerModel model("[S|CPUTYPE|CV2] [S|ENDIAN|LITTLE] [B|FIXUPLIBS|1]");
    const std::string multilib = model.cpu_.Multilib();
    ASSERT_FALSE(multilib.empty());
    model.libDirs_ = {"$(TCINSTALL)\\corvo-elf\\corvo-elf\\lib",
                      "$(tcinstall)\\CORVO-ELF\\lib\\gcc\\corvo-elf\\4.7\\old", "$(configdir)",
                      "C:\\mine"};
    FixUpLibraryDirectories(model);
    EXPECT_EQ(model.libDirs_,
              (Libs{"$(TCINSTALL)\\corvo-elf\\corvo-elf\\lib\\" + multilib,
                    "$(TCINSTALL)\\corvo-elf\\lib\\gcc\\corvo-elf\\" + multilib, "C:\\mine"}));
    // Running it again changes nothing.
    Libs once = model.libDirs_;
    FixUpLibraryDirectories(model);
    EXPECT_EQ(model.libDirs_, once);
}

TEST(LibraryDirectories, LibraryProject) {
    LinkerModel model("[S|CPUTYPE|CV2] [B|FIXUPLIBS|1] [B|DOPROJBUILT|1] "
                      "[S|PROJECTTYPE|CPPAPPPROJECT]");
    const std::string multilib = model.cpu_.Multilib();
    model.libDirs_ = {"$(TCINSTALL)\\pelka-elf\\pelka-elf\\lib\\x",
                      "$(TCINSTALL)\\corvo-elf\\lib\\gcc\\corvo-elf\\", "C:\\mine"};
    FixUpLibraryDirectories(model);
    EXPECT_EQ(model.libDirs_,
              (Libs{"$(TCINSTALL)\\corvo-elf\\lib\\gcc\\corvo-elf\\" + multilib, "C:\\mine",
                    quorle::toolchain::TargetLibraryPath(100, multilib), "$(CONFIGDIR)"}));
    // "$(CONFIGDIR)" anywhere in a directory is enough.
    LinkerModel c("[S|CPUTYPE|CV2] [B|FIXUPLIBS|1] [B|DOPROJBUILT|1]");
    c.libDirs_ = {"$(CONFIGDIR)\\sub"};
    FixUpLibraryDirectories(c);
    EXPECT_EQ(c.libDirs_, (Libs{"$(CONFIGDIR)\\sub"}));
}

TEST(LibraryDirectories, UnknownFamilyLeavesToolchainDirectoriesAlone) {
    LinkerModel model("[B|FIXUPLIBS|1]");
    model.libDirs_ = {"$(TCINSTALL)\\corvo-elf\\corvo-elf\\lib\\cv2", "$(CONFIGDIR)"};
    FixUpLibraryDirectories(model);
    EXPECT_EQ(model.libDirs_, (Libs{"$(TCINSTALL)\\corvo-elf\\corvo-elf\\lib\\cv2"}));
}
