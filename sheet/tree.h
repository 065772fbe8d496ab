// The selection pane without its window: the leaves (one per phase record,
// project, configuration and file record), the configuration combo and the
// tree of nodes a view shows.
#pragma once

#include <limits>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "sheet/host_records.h"
#include "sheet/option_sets.h"

namespace quorle::sheet {

// The texts the tree shows come from the resource library (SheetText);
// these two name leaves, as the option records store them.
inline constexpr const char* kDefaultOptionsLeaf = "default options";
inline constexpr const char* kDefaultOptionsSrcLeaf = "default options(src)";
inline constexpr const char* kCppToAssemblyType = "C/C++ -> Assembly file";

enum class LeafKind { File, TypeDefault, TypeDefaultSrc, Project };

// One phase, one project configuration and one file, file type default or
// project; points to the option set that currently applies.
struct CLeaf {
    size_t record = 0; // phase record
    int phase = -1;
    size_t project = 0;
    size_t config = 0;   // within the project
    size_t configId = 0; // position of the configuration name in the combo
    size_t file = 0;     // file record within the project
    LeafKind kind = LeafKind::File;
    // Texts of the host records, which the sheet keeps for its lifetime.
    std::string_view name;     // the file record's path
    std::string_view fileType; // may be empty for project-wide phases
    std::string_view projectName;
    std::string_view configName;
    COptionSet* set = nullptr;
};

bool IsFileBasedPhase(int phase);

// Where a selection was made: a leaf, or a node standing for many leaves.
enum class NodeKind { AllProjects, AllProjectLevel, Project, FileTypeLevel, ProjectLevel, Leaf };

struct TreeNode {
    NodeKind kind = NodeKind::Leaf;
    std::string label;
    std::string display; // option text of a leaf in the first shown configuration
    size_t record = 0;   // phase record of a level node or leaf
    std::string project; // project name
    std::string target;  // file type of a file-type node, path of a leaf
    std::vector<TreeNode> children;
};

// The record of a project-level node that stands for every project-wide phase.
inline constexpr size_t kAnyRecord = std::numeric_limits<size_t>::max();

// What a selection is made of, independent of the configurations shown.
struct NodeRef {
    NodeKind kind = NodeKind::Leaf;
    size_t record = 0;
    std::string project;
    std::string target;
    bool operator==(const NodeRef&) const = default;
};

class CSheetTree {
  public:
    CSheetTree(const HostRecords& records, const COptionSets& sets);

    std::vector<CLeaf>& Leaves() { return leaves_; }
    const std::vector<CLeaf>& Leaves() const { return leaves_; }

    // The combo: every configuration name in order of first appearance, then
    // "All Configurations" and "Multiple Configurations...".
    std::vector<std::string> ConfigurationChoices() const;
    const std::vector<std::string>& ConfigurationNames() const { return configNames_; }
    std::set<std::string> ShownConfigurations() const;
    // Shows one configuration, all of them, or several; false for a name the
    // workspace does not have.
    bool ShowConfiguration(const std::string& name);
    bool ShowAllConfigurations();
    bool ShowConfigurations(const std::vector<std::string>& names);

    // The leaves a node stands for in the shown configurations, in tree order.
    std::vector<CLeaf*> Resolve(const NodeRef& node);
    // The node a script names: phase record, project and optional target (a
    // file record path, or a file-type name). Nothing when it names none.
    std::optional<NodeRef> Find(const std::string& phase, const std::string& project,
                                const std::string& target, bool hasTarget) const;

    // The tree a view shows.
    TreeNode Build() const;

  private:
    const HostRecords& records_;
    std::vector<CLeaf> leaves_;
    std::vector<std::string> configNames_;
    std::vector<bool> shown_; // by configuration id
};

// Leaf order within a file type: the two default leaves first, then plain
// string order.
bool LeafNameBefore(const std::string& a, const std::string& b);

} // namespace quorle::sheet
