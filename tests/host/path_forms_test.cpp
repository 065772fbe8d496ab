// Project paths and their resolved forms: the text-only shortcut for plain
// paths must give what std::filesystem gives, and fall back for the rest.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "host/path_identity.h"
#include "host/placeholders.h"
#include "host/plain_path.h"
#include "host/project_context.h"
#include "host/stat_batch.h"
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

// A batch is spread over threads: whatever the split, each path must get its
// own answer, in its own place.
TEST(PathResolution, ABatchOfStatsAnswersEachPathInPlace) {
    testing_support::TempDir scratch;
    fs::path root = fs::canonical(scratch.Root());
    fs::create_directory(root / "dir");
    std::vector<std::string> paths;
    for (int i = 0; i < 1500; ++i) {
        fs::path file = root / ("f" + std::to_string(i) + ".c");
        if (i % 3 != 0) std::ofstream(file) << i;
        paths.push_back(file.generic_string()); // every third one missing
        if (i % 100 == 0) paths.push_back((root / "dir").generic_string());
    }
    fs::create_symlink(root / "f1.c", root / "link.c");
    paths.push_back((root / "link.c").generic_string());
    std::vector<const std::string*> asked;
    for (const std::string& path : paths) asked.push_back(&path);
    for (unsigned threads : {1u, 2u, 4u, 0u}) {
        auto found = StatEntries(asked, threads);
        ASSERT_EQ(found.size(), paths.size());
        for (size_t i = 0; i < paths.size(); ++i) {
            auto one = platform::StatEntry(paths[i]);
            ASSERT_EQ(found[i].has_value(), one.has_value()) << paths[i] << " " << threads;
            if (!one) continue;
            EXPECT_EQ(found[i]->modified, one->modified) << paths[i];
            EXPECT_EQ(found[i]->directory, one->directory) << paths[i];
            EXPECT_EQ(found[i]->link, one->link) << paths[i];
        }
    }
    EXPECT_TRUE(StatEntries({}).empty());
}

// Resolved together or one at a time, a path comes out the same; what was
// found then goes to the build with the paths, links left out.
TEST(PathResolution, ABatchResolvesAsSinglePathsDoAndHandsItsTimesOn) {
    testing_support::TempDir scratch;
    fs::path root = fs::canonical(scratch.Root());
    fs::create_directories(root / "real");
    for (int i = 0; i < 700; ++i) std::ofstream(root / "real" / (std::to_string(i) + ".c")) << i;
    fs::create_directory_symlink(root / "real", root / "alias");
    fs::create_symlink(root / "real" / "1.c", root / "link.c");
    std::vector<std::string> paths;
    for (int i = 0; i < 700; ++i)
        paths.push_back((root / (i % 2 ? "alias" : "real") / (std::to_string(i) + ".c")).string());
    paths.push_back((root / "real" / "none.c").string());
    paths.push_back((root / "link.c").string());
    paths.push_back((root / "real" / "." / "2.c").string());
    paths.push_back(paths[5]); // asked twice in one batch
    std::vector<const std::string*> asked;
    for (const std::string& path : paths) asked.push_back(&path);

    PathResolver batch, single;
    batch.ResolveAll(asked);
    for (const std::string& path : paths) {
        ResolvedPath a = batch.Resolve(path), b = single.Resolve(path);
        EXPECT_EQ(a.path, b.path) << path;
        EXPECT_EQ(a.exists, b.exists) << path;
        EXPECT_EQ(a.throughLink, b.throughLink) << path;
        EXPECT_EQ(a.directory, b.directory) << path;
        EXPECT_EQ(a.modified, b.modified) << path;
    }
    EXPECT_EQ(batch.Resolve(paths[1]).path, (root / "real" / "1.c").generic_string());

    FoundTimes times = batch.TakeTimes();
    times.Drop(paths[3]);
    std::map<std::string, std::optional<int64_t>> given;
    times.ForEach([&](std::string_view path, std::optional<int64_t> time) {
        EXPECT_TRUE(given.emplace(path, time).second) << path; // each path once
    });
    EXPECT_EQ(given.size(), paths.size() - 3); // less the repeat, the link and the one dropped
    EXPECT_EQ(given.at(paths[0]), platform::FileModifiedTime(paths[0]));
    EXPECT_EQ(given.at(paths[700]), std::nullopt);
    EXPECT_EQ(given.count(paths[701]), 0u);
    EXPECT_EQ(given.count(paths[3]), 0u);
    // Emptied by the hand-over, the resolver still works.
    EXPECT_EQ(batch.Resolve(paths[2]).path, paths[2]);
}

} // namespace
} // namespace quorle::host
