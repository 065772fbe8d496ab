// A sheet over in-memory host records, with recorded messages and events.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "host_fixture.h"
#include "sheet/sheet.h"
#include "sheet_support.h"
#include "support/temp_dir.h"
#include "support/test_files.h"

namespace quorle::sheet_test {

struct SheetHarness {
    explicit SheetHarness(std::vector<PhaseInput> phaseInputs,
                          const std::string& toolchain = kCorvo,
                          const std::string& dirName = "sheet_core")
        : workspaceDir(dirName), host(std::move(phaseInputs)),
          info(toolchain, workspaceDir.Path()) {
        sheet::HostRecordsRead read = sheet::ReadHostRecords(host.List());
        if (!read.records) throw std::runtime_error(read.messages.at(0).text);
        sheet = std::make_unique<sheet::CSheetBase>(std::move(*read.records), *info.Get(), messages,
                                                    &observer);
    }

    sheet::NodeRef Node(const std::string& phase, const std::string& project) {
        return *sheet->Tree().Find(phase, project, "", false);
    }
    sheet::NodeRef Node(const std::string& phase, const std::string& project,
                        const std::string& target) {
        return *sheet->Tree().Find(phase, project, target, true);
    }
    sheet::CommandResult Select(const sheet::NodeRef& node) { return sheet->Select({node}, false); }
    sheet::CommandResult Add(const sheet::NodeRef& node) { return sheet->Select({node}, true); }
    std::string Tabs() const {
        std::string joined;
        for (const auto& t : sheet->ShownTabTitles()) joined += (joined.empty() ? "" : "|") + t;
        return joined;
    }
    // The state of the active page's control with this key or label.
    const sheet::ControlState& State(const std::string& name) {
        sheet::CPage* page = sheet->ActivePage();
        return page->States().at(page->FindControl(name).value());
    }

    testing_support::TempDir workspaceDir; // first: the records below name it
    HostRecordsFixture host;
    ProjectInfoFixture info;
    RecordingMessages messages;
    RecordingObserver observer;
    std::unique_ptr<sheet::CSheetBase> sheet;
};

} // namespace quorle::sheet_test
