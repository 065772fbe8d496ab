#include "sheet/edit_options.h"

#include "core/phase.h"
#include "platform/platform.h"
#include "sheet/resource_library.h"
#include "sheet/script.h"
#include "sheet/sheet_face.h"
#include "sheet/sheet_view.h"
#include "sheet/sibling_library.h"

namespace quorle::sheet {
namespace {

// A call that stops before the sheet exists, with its one box.
EditRun Stopped(bool scripted, UserMessage message) {
    return {1, {std::move(message)}, scripted};
}

std::string DirectoryPart(const std::string& path) {
    size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

// Boxes of the terminal face: dialogs in the terminal, or the logged form
// while boxes are redirected, as everywhere else.
class CTerminalMessages : public CMessageSink {
  public:
    explicit CTerminalMessages(CSheetView& view) : view_(view) {}
    platform::MessageAnswer Show(const std::string& caption, const std::string& text,
                                 platform::MessageButtons buttons) override {
        if (platform::MessagesRedirected()) return platform::LogMessageBox(caption, text, buttons);
        return view_.Show(caption, text, buttons);
    }

  private:
    CSheetView& view_;
};

// The view library, loaded only for an interactive call and unloaded after.
class TerminalViewLibrary {
  public:
    explicit TerminalViewLibrary(const std::string& pluginPath)
        : module_(platform::LoadLibrary(DirectoryPart(pluginPath) + kSheetViewLibrary)) {
        auto create =
            reinterpret_cast<CreateSheetViewFn>(platform::GetProcAddress(module_, kSheetViewEntry));
        if (create != nullptr) view_ = create();
    }
    ~TerminalViewLibrary() {
        delete view_; // before its code goes away
        platform::FreeLibrary(module_);
    }
    TerminalViewLibrary(const TerminalViewLibrary&) = delete;
    TerminalViewLibrary& operator=(const TerminalViewLibrary&) = delete;
    CSheetView* View() const { return view_; }

  private:
    void* module_;
    CSheetView* view_ = nullptr;
};

// Asks the sibling library which phases it shows cooked, and cooks through
// it; the sheet uses the library while the returned object lives.
std::unique_ptr<SiblingLibrary> EnablePhases(CSheetBase& sheet, const char* pluginPath,
                                             const QuorleProjectInfo& info) {
    auto sibling = SiblingLibrary::Open(pluginPath);
    const std::string toolchain = info.toolchainName != nullptr ? info.toolchainName : "";
    for (int phase = kPhaseCompiler; phase <= kPhaseStypeConverter; ++phase)
        sheet.SetPhaseEnabled(
            phase, sibling->IsEnablePhase(toolchain,
                                          std::string(PhaseName(static_cast<PhaseIndex>(phase)))));
    const SiblingLibrary* converter = sibling.get();
    sheet.SetCooker([converter, toolchain](const std::string& raw) {
        return converter->ConvertRawToCook(toolchain, raw);
    });
    return sibling;
}

// After an OK that wrote, the change list goes to the file QUORLE_SHEET_CHANGES
// names, for a host that prints it.
void ReportChanges(const CSheetBase& sheet, int result) {
    auto path = platform::GetEnv(kChangesVariable);
    if (result != 0 || !path || path->empty()) return;
    std::string text;
    for (const std::string& line : sheet.Changes()) text += line + "\n";
    platform::WriteFile(*path, text, false);
}

// The interactive sheet: the window view on Windows, the terminal view
// elsewhere; both are libraries of their own behind `CSheetView`.
EditRun RunInteractive(HostRecords records, const char* pluginPath, const QuorleProjectInfo& info) {
#if !defined(_WIN32)
    if (!platform::StandardInputIsTerminal() || !platform::StandardOutputIsTerminal())
        return Stopped(false, ErrorText(kNoTerminalMessage));
#endif
    TerminalViewLibrary library(pluginPath);
    if (library.View() == nullptr)
        return Stopped(false, ErrorText(std::string(kNoTerminalViewMessage) + "\n" +
                                        DirectoryPart(pluginPath) + kSheetViewLibrary));
    CTerminalMessages messages(*library.View());
    CSheetBase sheet(std::move(records), info, messages);
    auto sibling = EnablePhases(sheet, pluginPath, info);
    CSheetFaceOver face(sheet);
    int result = library.View()->Run(face);
    ReportChanges(sheet, result);
    return {result, {}, false};
}

CommonControlsProbe commonControlsProbe = &platform::GetCommonControlsVersion;

} // namespace

CommonControlsProbe SetCommonControlsProbe(CommonControlsProbe probe) {
    CommonControlsProbe previous = commonControlsProbe;
    commonControlsProbe = probe != nullptr ? probe : &platform::GetCommonControlsVersion;
    return previous;
}

bool CommonControlsUsable(uint32_t major, uint32_t minor) {
    return major >= 5 || minor >= 71;
}

EditRun RunEditOptions(QuorlePhaseRecord* const* phases, const char* pluginPath,
                       const QuorleProjectInfo& info) {
    const auto scriptPath = platform::GetEnv("QUORLE_SHEET_SCRIPT");
    const bool scripted = scriptPath && !scriptPath->empty();
    const CTranscript transcript(platform::GetEnv("QUORLE_SHEET_LOG"));
    if (!transcript.Usable())
        return Stopped(scripted, ErrorText(std::string(kSheetLogRefusedMessage) + "\n" +
                                           *platform::GetEnv("QUORLE_SHEET_LOG")));

    auto resources = ResourceLibrary::Load(pluginPath);
    if (!resources) {
        transcript.Line("result", "1");
        return Stopped(scripted, ErrorText(kNoResourceLibraryMessage));
    }
    if (auto version = commonControlsProbe();
        version && !CommonControlsUsable(version->major, version->minor)) {
        transcript.Line("result", "1");
        return Stopped(scripted, WarningText(SheetString(kStrCommonControls)));
    }
    HostRecordsRead read = ReadHostRecords(phases);
    std::optional<HostRecords>& records = read.records;
    if (!records) {
        transcript.Line("error", "0: " + read.messages.at(0).text);
        transcript.Line("result", "1");
        return {1, {}, scripted};
    }
    if (!scripted) return RunInteractive(std::move(*records), pluginPath, info);
    auto script = platform::ReadFile(*scriptPath, true);
    if (!script) {
        transcript.Line("error", "0: script cannot be read: " + *scriptPath);
        transcript.Line("result", "1");
        return Stopped(true, ErrorText(SheetString(kStrScriptUnreadable) + "\n" + *scriptPath));
    }

    CLoggedMessages messages;
    CTranscriptObserver observer(transcript);
    CSheetBase sheet(std::move(*records), info, messages, &observer);
    auto sibling = EnablePhases(sheet, pluginPath, info);
    transcript.Line("title", sheet.Title());
    int result = RunScript(sheet, *script, transcript);
    ReportChanges(sheet, result);
    transcript.Line("result", std::to_string(result));
    return {result, {}, true};
}

} // namespace quorle::sheet
