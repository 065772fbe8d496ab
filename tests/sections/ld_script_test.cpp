#include <gtest/gtest.h>

#include "sections/layout_tree.h"
#include "sections/ld_script.h"

using namespace quorle::sections;

namespace {

constexpr const char* kCorvo = "Dravik GNUCORVO [ELF]";

std::string GroupText(const SectionGroup& group) {
    std::string text;
    WriteGroup(group, [&text](const std::string& piece) {
        text += piece;
        return true;
    });
    return text;
}

SectionGroup Group(std::string name, int placement, std::string placementText) {
    SectionGroup group;
    group.name = std::move(name);
    group.placement = placement;
    group.placementText = std::move(placementText);
    return group;
}

} // namespace

TEST(LdScript, DefaultCorvoLayoutMatchesTheWorkedExample) {
    SectionLayout layout;
    layout.groups = DefaultGroups();
    const std::string expected = "OUTPUT_ARCH(corvo)\n"
                                 "SECTIONS\n"
                                 "{\n"
                                 "\t.vects 0x00000000 : AT (0x00000000)\n"
                                 "\t{\n"
                                 "\t\t_vects = .;\n"
                                 "\t\t*(.vects)\n"
                                 "\t}\n"
                                 "\t.text 0x00001000 : AT (0x00001000)\n"
                                 "\t{\n"
                                 "\t\t*(.text)\n"
                                 "\t\t_mdata = .;\n"
                                 "\t}\n"
                                 "\t.mdata 0x00200000 : AT (_mdata)\n"
                                 "\t{\n"
                                 "\t\t_data = .;\n"
                                 "\t\t*(.data)\n"
                                 "\t\t_edata = .;\n"
                                 "\t}\n"
                                 "\t.bss :\n"
                                 "\t{\n"
                                 "\t\t_bss = .;\n"
                                 "\t\t*(.bss)\n"
                                 "\t\t*(.COMMON)\n"
                                 "\t\t_ebss = .;\n"
                                 "\t}\n"
                                 "\t.stack 0x00FFFC00 : AT (0x00FFFC00)\n"
                                 "\t{\n"
                                 "\t\t_stack = .;\n"
                                 "\t\t*(.stack)\n"
                                 "\t}\n"
                                 "}";
    EXPECT_EQ(ScriptText(layout, kCorvo, 0, false), expected);
}

TEST(LdScript, MemoryBlockSitsBetweenArchitectureAndSections) {
    SectionLayout layout;
    layout.regions.push_back({"ram", 3, "0x00100000", "0x0010FFFF"});
    layout.regions.push_back({"rom", 1, "0", "FF"});
    std::string text = ScriptText(layout, "dravik gnuzenta [elf]", 0, false);
    EXPECT_EQ(text, "OUTPUT_ARCH(zenta)\n"
                    "MEMORY\n{\n"
                    "\tram : ORIGIN = 0x00100000, LENGTH = 65536\n"
                    "\trom : ORIGIN = 0, LENGTH = 256\n"
                    "}\n\n"
                    "SECTIONS\n{\n}");
}

TEST(LdScript, RegionLengthNeverNegativeOrWrapped) {
    EXPECT_EQ(RegionLength({"a", 0, "0x1000", "0x1FFF"}), 4096u);
    EXPECT_EQ(RegionLength({"a", 0, "0x1000", "0x1000"}), 1u);
    EXPECT_EQ(RegionLength({"a", 0, "0x2000", "0x1000"}), 0u);
    EXPECT_EQ(RegionLength({"a", 0, "0x1000", "end"}), 0u);
    EXPECT_EQ(RegionLength({"a", 0, "", "0x10"}), 0u);
    EXPECT_EQ(RegionLength({"a", 0, "0x", "0x10"}), 0u);
    // The whole 32-bit space is 2^32 bytes, not 0 as a 32-bit count would give.
    EXPECT_EQ(RegionLength({"a", 0, "0x00000000", "0xFFFFFFFF"}), 4294967296u);
    EXPECT_EQ(RegionLength({"a", 0, "0", "FFFFFFFFFFFFFFFF"}), 0u);

    SectionLayout layout;
    layout.regions.push_back({"bad", 0, "0x8000", "0x7000"});
    EXPECT_NE(ScriptText(layout, "", 0, false).find("\tbad : ORIGIN = 0x8000, LENGTH = 0\n"),
              std::string::npos);
}

TEST(LdScript, ArchitectureLinePerToolchain) {
    EXPECT_EQ(ArchitectureLine("DRAVIK GNUCORVO [ELF]", 5, true), "OUTPUT_ARCH(corvo)\n");
    EXPECT_EQ(ArchitectureLine("Dravik GNUZENTA [ELF]", 1, false), "OUTPUT_ARCH(zenta)\n");
    EXPECT_EQ(ArchitectureLine("Dravik GNUTAMSINA [ELF]", 0, false), "");
    EXPECT_EQ(ArchitectureLine("Dravik GNUTAMSINB [ELF]", 0, false), "");
    EXPECT_EQ(ArchitectureLine("Unknown GNUTAMSIN mode", 0, false), "");
    // Pelka: CPU type index times two plus the normal-mode flag; the first
    // rows are the base model and its normal-mode variant.
    EXPECT_EQ(ArchitectureLine("Dravik GNUPELKA [ELF]", 0, false), "OUTPUT_ARCH(pelka)\n");
    EXPECT_EQ(ArchitectureLine("Dravik GNUPELKA [ELF]", 0, true), "OUTPUT_ARCH(pelkan)\n");
    EXPECT_EQ(ArchitectureLine("Dravik GNUPELKA [ELF]", 1, true), "OUTPUT_ARCH(pelka2n)\n");
    EXPECT_EQ(ArchitectureLine("Dravik GNUPELKA [ELF]", 4, false), "OUTPUT_ARCH(pelka4)\n");
    EXPECT_EQ(ArchitectureLine("Dravik GNUPELKA [ELF]", 5, false), "");
}

TEST(LdScript, GroupHeadersByPlacementAndLoadAddress) {
    SectionGroup follow = Group(".bss", kFollowOn, "");
    EXPECT_EQ(GroupText(follow), "\t.bss :\n\t{\n\t}\n");

    SectionGroup atLabel = Group(".extra", kAtLabel, "_mdata");
    atLabel.loadKind = kLoadLabel;
    atLabel.loadAddress = "_rom+0x10+4";
    EXPECT_EQ(GroupText(atLabel), "\t.extra _mdata : AT (_rom + 0x10 + 4)\n\t{\n\t}\n");
    atLabel.loadKind = kLoadNone;
    EXPECT_EQ(GroupText(atLabel), "\t.extra _mdata :\n\t{\n\t}\n");

    SectionGroup region = Group(".data", kInRegion, "ram");
    region.noLoad = true;
    EXPECT_EQ(GroupText(region), "\t.data (NOLOAD) :\n\t{\n\t} > ram\n");

    SectionGroup fixed = Group(".vec", kFixedAddress, "H'100");
    fixed.loadKind = kLoadFixed;
    fixed.loadAddress = "0x8000";
    EXPECT_EQ(GroupText(fixed), "\t.vec H'100 : AT (0x8000)\n\t{\n\t}\n");
}

TEST(LdScript, ContentLines) {
    SectionGroup group = Group(".g", kFollowOn, "");
    group.contents = {
        LabelItem("_start"),
        LabelItem("_end____=____.____+____0x100"),
        LabelItem("x____y"),
        SectionItem(std::string(kAllSections), {"a.o", "b.o"}),
        SectionItem(".text", {"c.o", std::string(kAllFiles), "ignored.o"}),
        SectionItem(".rodata", {"d.o"}),
    };
    EXPECT_EQ(GroupText(group), "\t.g :\n\t{\n"
                                "\t\t_start = .;\n"
                                "\t\t_end = . + 0x100;\n"
                                "\t\tx____y = .;\n"
                                "\t\ta.o\n"
                                "\t\tb.o\n"
                                "\t\t\"c.o\"(.text)\n"
                                "\t\t*(.text)\n"
                                "\t\t\"d.o\"(.rodata)\n"
                                "\t}\n");
    group.keep = true;
    std::string kept = GroupText(group);
    EXPECT_NE(kept.find("\t\tKEEP(*(.text))\n"), std::string::npos);
    EXPECT_NE(kept.find("\t\t\"c.o\"(.text)\n"), std::string::npos);
    EXPECT_EQ(kept.find("KEEP(\"d.o\""), std::string::npos);
}

TEST(LdScript, EverySpecialCharacterMakesAnExpression) {
    for (char c : std::string("!\"\xA3$%^&*()-+={}[]:;@'~#<>,./?\\|`")) {
        SectionGroup group = Group(".g", kFollowOn, "");
        group.contents = {LabelItem(std::string("a") + c + "b")};
        std::string text = GroupText(group);
        EXPECT_NE(text.find(std::string("\t\ta") + c + "b;\n"), std::string::npos) << c;
    }
}

TEST(LdScript, ChildGroupsFollowTheirParentDepthFirst) {
    SectionLayout layout;
    SectionGroup parent = Group(".p", kFixedAddress, "0x100");
    parent.contents = {LabelItem("_p")};
    SectionGroup child = Group(".c", kAtLabel, "_p");
    child.contents = {LabelItem("_c")};
    child.children.push_back(Group(".gc", kAtLabel, "_c"));
    parent.children.push_back(child);
    layout.groups = {parent, Group(".q", kFollowOn, "")};
    std::string text = ScriptText(layout, "", 0, false);
    size_t p = text.find("\t.p "), c = text.find("\t.c "), gc = text.find("\t.gc "),
           q = text.find("\t.q ");
    ASSERT_NE(gc, std::string::npos);
    EXPECT_LT(p, c);
    EXPECT_LT(c, gc);
    EXPECT_LT(gc, q);
}

TEST(LdScript, PlaceholdersAreResolvedInContentLinesOnly) {
    SectionLayout layout;
    SectionGroup group = Group("$(CONFIGDIR)", kFollowOn, "");
    group.contents = {SectionItem(".text", {"$(CONFIGDIR)\\a.o"}),
                      SectionItem(".data", {"$(OTHER)\\b.o"})};
    layout.groups = {group};
    std::string text;
    ScriptProblems problems;
    PlaceholderResolver resolver = [](const std::string& line) -> std::optional<std::string> {
        std::string out = line;
        size_t at = out.find("$(CONFIGDIR)");
        if (at != std::string::npos) out.replace(at, 12, "C:\\cfg");
        return out;
    };
    ASSERT_TRUE(WriteLayout(
        layout,
        [&text](const std::string& piece) {
            text += piece;
            return true;
        },
        resolver, &problems));
    EXPECT_NE(text.find("\t$(CONFIGDIR) :\n"), std::string::npos);
    EXPECT_NE(text.find("\t\t\"C:\\cfg\\a.o\"(.text)\n"), std::string::npos);
    EXPECT_TRUE(problems.unresolvedPlaceholder);
    EXPECT_FALSE(problems.resolutionFailed);

    ScriptProblems failed;
    WriteLayout(
        layout, [](const std::string&) { return true; },
        [](const std::string&) -> std::optional<std::string> { return std::nullopt; }, &failed);
    EXPECT_TRUE(failed.resolutionFailed);
}

TEST(LdScript, StopsAtTheFirstFailedWrite) {
    SectionLayout layout;
    layout.groups = DefaultGroups();
    for (int failAt = 0; failAt < 5; ++failAt) {
        int calls = 0;
        std::string text;
        bool ok = WriteLayout(layout, [&](const std::string& piece) {
            if (calls++ == failAt) return false;
            text += piece;
            return true;
        });
        EXPECT_FALSE(ok);
        EXPECT_EQ(calls, failAt + 1);
    }
}
