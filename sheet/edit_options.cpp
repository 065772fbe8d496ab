#include "sheet/edit_options.h"

#include "core/phase.h"
#include "platform/platform.h"
#include "sheet/resource_library.h"
#include "sheet/script.h"
#include "sheet/sibling_library.h"

namespace quorle::sheet {
namespace {

// Boxes before the sheet exists: logged when the call is scripted.
void Tell(bool scripted, const char* caption, const std::string& text) {
    if (scripted)
        platform::LogMessageBox(caption, text);
    else
        platform::ShowMessage(caption, text, platform::MessageButtons::Ok,
                              platform::MessageIcon::Warning);
}

} // namespace

bool CommonControlsUsable(uint32_t major, uint32_t minor) {
    return major >= 5 || minor >= 71;
}

int RunEditOptions(QuorlePhaseRecord* const* phases, const char* pluginPath,
                   const QuorleProjectInfo& info) {
    const auto scriptPath = platform::GetEnv("QUORLE_SHEET_SCRIPT");
    const bool scripted = scriptPath && !scriptPath->empty();
    const CTranscript transcript(platform::GetEnv("QUORLE_SHEET_LOG"));

    auto resources = ResourceLibrary::Load(pluginPath);
    if (!resources) {
        Tell(scripted, kCaptionError, kNoResourceLibraryMessage);
        transcript.Line("result", "1");
        return 1;
    }
    if (auto version = platform::GetCommonControlsVersion();
        version && !CommonControlsUsable(version->major, version->minor)) {
        Tell(scripted, kCaptionWarning, SheetString(kStrCommonControls));
        transcript.Line("result", "1");
        return 1;
    }
    std::string why;
    auto records = ReadHostRecords(phases, why);
    if (!records) {
        transcript.Line("error", "0: " + why);
        transcript.Line("result", "1");
        return 1;
    }
    if (!scripted) {
        Tell(false, kCaptionError, SheetString(kStrNoInteractiveView));
        return 1;
    }
    auto script = platform::ReadFile(*scriptPath, true);
    if (!script) {
        Tell(true, kCaptionError, SheetString(kStrScriptUnreadable) + "\n" + *scriptPath);
        transcript.Line("error", "0: script cannot be read: " + *scriptPath);
        transcript.Line("result", "1");
        return 1;
    }

    CLoggedMessages messages;
    CTranscriptObserver observer(transcript);
    CSheetBase sheet(std::move(*records), info, messages, &observer);
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
    transcript.Line("title", sheet.Title());
    int result = RunScript(sheet, ParseScript(*script), transcript);
    transcript.Line("result", std::to_string(result));
    return result;
}

} // namespace quorle::sheet
