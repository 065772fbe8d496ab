// Project paths and their resolved forms: the text-only shortcut for plain
// paths must give what std::filesystem gives, and fall back for the rest.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "host/path_identity.h"
#include "host/placeholders.h"
#include "host/plain_path.h"
#include "host/project_context.h"
#include "tests/support/temp_dir.h"

namespace quorle::host {
namespace {

namespace fs = std::filesystem;

std::string Normal(const std::string& path) {
    return fs::path(path).lexically_normal().generic_string();
}

TEST(PlainPaths, OnlyPathsNormalisationLeavesAloneArePlain) {
    for (const char* plain : {"/a", "/a/b.c", "/x/.hidden/y", "/a/..b/c..", "/a b/c"}) {
        EXPECT_TRUE(IsPlainAbsolute(plain)) << plain;
        EXPECT_EQ(Normal(plain), plain);
    }
    for (const char* other :
         {"", "/", "a/b", "/a/", "/a//b", "/a/./b", "/a/../b", "/.", "/..", "//a", "/a/."}) {
        EXPECT_FALSE(IsPlainAbsolute(other)) << other;
    }
}

class ProjectPaths : public ::testing::Test {
  protected:
    ProjectContext Context(const std::string& projectDir) {
        workspace_.dir = projectDir;
        workspace_.placeholders = {{"SRC", "src"}, {"OBJ", "$(FILELEAF).o"}, {"FILELEAF", "user"}};
        project_.name = "demo";
        project_.dir = projectDir;
        config_ = {"Debug", "Debug"};
        return ProjectContext(workspace_, project_, config_, "/host", "/tmp");
    }
    Workspace workspace_;
    Project project_;
    Configuration config_;
};

TEST_F(ProjectPaths, FilePathsAgreeWithNormalisationEveryWay) {
    for (const char* dir : {"/w/demo", "/w/./demo", "/w/x/../demo", "/w/demo/"}) {
        ProjectContext context = Context(dir);
        for (const char* file :
             {"src/main.c", "./src/main.c", "src//main.c", "../demo/src/main.c", "/abs/main.c",
              "/abs/../b/main.c", "$(SRC)/main.c", "$(PROJDIR)/src/main.c", "src/"}) {
            std::string expected =
                (fs::path(dir) / ExpandPlaceholders(file, {{"SRC", "src"}, {"PROJDIR", dir}}))
                    .lexically_normal()
                    .generic_string();
            if (file[0] == '/') expected = Normal(file);
            EXPECT_EQ(context.FilePath(file), expected) << dir << " + " << file;
        }
    }
}

TEST_F(ProjectPaths, TheStepsFileLeafWinsAndReachesNestedValues) {
    ProjectContext context = Context("/w/demo");
    EXPECT_EQ(context.Expand("$(OBJ) $(FILELEAF)", "main"), "main.o main");
    // Without a step's leaf the user's own value stands.
    EXPECT_EQ(context.Expand("$(OBJ)", ""), "user.o");
}

TEST(PathResolution, SpellingsAndLinkedDirectoriesMeetAtOnePath) {
    testing_support::TempDir scratch;
    fs::path root = fs::canonical(scratch.Root());
    fs::create_directories(root / "real" / "sub");
    { std::ofstream(root / "real" / "sub" / "a.c") << "x"; }
    fs::create_directory_symlink(root / "real", root / "alias");
    fs::create_symlink(root / "real" / "sub" / "a.c", root / "link.c");

    PathResolver resolver;
    std::string real = (root / "real" / "sub" / "a.c").generic_string();
    const ResolvedPath& plain = resolver.Resolve(real);
    EXPECT_EQ(plain.path, real);
    EXPECT_TRUE(plain.exists);
    EXPECT_FALSE(plain.throughLink);
    EXPECT_GT(plain.modified, 0);
    EXPECT_EQ(resolver.Resolve((root / "alias" / "sub" / "a.c").generic_string()).path, real);
    EXPECT_EQ(resolver.Resolve((root / "real" / "." / "sub" / ".." / "sub" / "a.c").string()).path,
              real);
    const ResolvedPath& link = resolver.Resolve((root / "link.c").generic_string());
    EXPECT_TRUE(link.throughLink);
    EXPECT_EQ(link.path, real);
    const ResolvedPath& missing = resolver.Resolve((root / "alias" / "none.c").generic_string());
    EXPECT_FALSE(missing.exists);
    EXPECT_EQ(missing.path, (root / "real" / "none.c").generic_string());
    EXPECT_TRUE(resolver.Resolve((root / "alias" / "sub").generic_string()).directory);
    // A last component of ".." names the directory above, not an entry in it.
    const ResolvedPath& up = resolver.Resolve((root / "alias" / "sub" / "..").generic_string());
    EXPECT_EQ(up.path, (root / "real").generic_string());
    EXPECT_TRUE(up.directory);
}

} // namespace
} // namespace quorle::host
