#include "sheet/section_pages.h"

#include "core/phase.h"
#include "core/records.h"
#include "models/linker_model.h"
#include "platform/platform.h"
#include "resources/message_box.h"
#include "sections/script_file.h"
#include "sheet/layout_walk.h"
#include "sheet/page_builders.h"
#include "toolchain/family.h"

namespace quorle::sheet {

using models::LinkerModel;

namespace {

constexpr unsigned kLinkerBit = 1u << kPhaseLinker;

ControlDef Button(std::string label, std::string help) {
    ControlDef c;
    c.kind = ControlKind::Button;
    c.label = std::move(label);
    c.help = std::move(help);
    c.binding.phases = kLinkerBit;
    return c;
}

ControlDef Rows(std::string label, std::string_view token, std::string help) {
    ControlDef c;
    c.kind = ControlKind::List;
    c.label = std::move(label);
    if (!token.empty()) {
        c.key = KeyOfToken(token);
        c.tokens = {std::string(token)};
    }
    c.help = std::move(help);
    c.binding.phases = kLinkerBit;
    return c;
}

PageData DataOf(SectionView view) {
    switch (view) {
    case SectionView::Main: {
        PageData p{"Section", "CPageLnkSection", {}, ""};
        ControlDef text;
        text.kind = ControlKind::Label;
        text.label = "The output sections of the link: the section groups, the memory regions "
                     "and the start addresses, on the pages that follow.";
        p.controls.push_back(std::move(text));
        return p;
    }
    case SectionView::GroupMap: {
        PageData p{"Group map", "CPageLnkSectionGroupMap", {}, "Section"};
        p.controls.push_back(Rows("Section &groups:", "S|GROUPDET|",
                                  "The output sections of the generated ld script, in order"));
        p.controls.push_back(Button("&Insert group...", "A new section group"));
        p.controls.push_back(Button("&Modify...", "Name and placement of the selected group"));
        p.controls.push_back(
            Button("&Remove", "The selected group with the groups placed at its labels"));
        p.controls.push_back(Button("Insert &label...", "A symbol at this point of the group"));
        p.controls.push_back(Button("Insert &section...", "Input sections placed in the group"));
        p.controls.push_back(
            Button("&Advanced settings...", "NOLOAD, KEEP and the map (load) address"));
        p.controls.push_back(Button("E&xport...", "The generated ld script to a .gsi file"));
        p.controls.push_back(build::RestoreButton());
        return p;
    }
    case SectionView::Memory: {
        PageData p{"Memory", "CPageLnkSectionMemory", {}, "Section"};
        p.controls.push_back(
            Rows("&Memory regions:", "S|MEMDET|", "The MEMORY regions of the generated ld script"));
        p.controls.push_back(Button("&Add...", "Add memory region"));
        p.controls.push_back(Button("M&odify...", "The selected region"));
        p.controls.push_back(Button("&Remove", "The selected region"));
        p.controls.push_back(build::RestoreButton());
        return p;
    }
    case SectionView::Start:
        break;
    }
    PageData p{"Start", "CPageLnkSectionStart", {}, "Section"};
    p.controls.push_back(
        Rows("Section &start addresses:", "", "group=address for each group at a fixed address"));
    p.controls.push_back(Button("&Change...", "The start address of the selected group"));
    return p;
}

// A resolver that keeps every placeholder: the export then says which it
// could not resolve.
std::optional<std::string> KeepPlaceholders(const std::string& line) {
    return line;
}

} // namespace

CSectionPage::CSectionPage(SectionView view) : CControlPage(DataOf(view)), view_(view) {}

std::vector<models::ModelBase*> CSectionPage::Linkers() const {
    std::vector<models::ModelBase*> out;
    for (COptionSet* set : Context().sets)
        if (As<LinkerModel>(set->model.get()) != nullptr) out.push_back(set->model.get());
    return out;
}

void CSectionPage::Load(const PageContext& context) {
    CControlPage::Load(context);
    auto linkers = Linkers();
    hasModels_ = !linkers.empty();
    mixed_ = false;
    if (hasModels_) {
        const auto& first = As<LinkerModel>(linkers.front())->layout_;
        for (size_t i = 1; i < linkers.size() && !mixed_; ++i) {
            const auto& other = As<LinkerModel>(linkers[i])->layout_;
            mixed_ = other.regions != first.regions || !SameGroups(other.groups, first.groups);
        }
        editor_.Load(first);
    } else {
        editor_.Load({});
    }
    if (context.shared != nullptr && context.shared->info != nullptr)
        editor_.SetToolchain(toolchain::EffectiveToolchainName(*context.shared->info));
    Refresh();
}

void CSectionPage::Refresh() {
    auto& states = MutableStates();
    for (size_t i = 0; i < Controls().size(); ++i) {
        const ControlDef& c = Controls()[i];
        ControlState& s = states[i];
        bool restore = PlainLabel(c.label) == kRestoreDefaults;
        s.enabled = c.kind != ControlKind::Label && hasModels_ && (restore || !mixed_);
        if (c.kind != ControlKind::List) continue;
        s.mixed = mixed_;
        s.value.clear();
        if (mixed_ || !hasModels_) continue;
        switch (view_) {
        case SectionView::GroupMap:
            for (const GroupRow& row : editor_.GroupRows())
                s.value.push_back(std::string(static_cast<size_t>(row.depth) * 2, ' ') + row.text);
            break;
        case SectionView::Memory:
            s.value = editor_.RegionRows();
            break;
        case SectionView::Start:
            s.value = editor_.StartRows();
            break;
        case SectionView::Main:
            break;
        }
    }
}

bool CSectionPage::SaveAndValidate(SaveKind kind) {
    if (editor_.Changed() && !mixed_) {
        for (models::ModelBase* model : Linkers()) {
            auto& layout = As<LinkerModel>(model)->layout_;
            DestroyGroups(layout.groups);
            layout = editor_.Copy();
        }
        editor_.MarkSaved();
    }
    return CControlPage::SaveAndValidate(kind);
}

SetOutcome CSectionPage::Set(size_t /*control*/, const Value& /*value*/) {
    // The lists show the layout; it changes only through the section commands.
    return SetOutcome::Disabled;
}

SetOutcome CSectionPage::Press(size_t control) {
    if (control >= Controls().size() || !States()[control].enabled ||
        PlainLabel(Controls()[control].label) != kRestoreDefaults)
        return SetOutcome::Disabled;
    editor_.RestoreDefaults();
    mixed_ = false;
    Refresh();
    return SetOutcome::Done;
}

bool CSectionPage::Handles(const std::string& command) const {
    switch (view_) {
    case SectionView::GroupMap:
        return command == "group" || command == "label" || command == "section" ||
               command == "item" || command == "advanced" || command == "export";
    case SectionView::Memory:
        return command == "region";
    case SectionView::Start:
        return command == "start";
    case SectionView::Main:
        break;
    }
    return false;
}

SetOutcome CSectionPage::Report(const EditResult& result) {
    CMessageSink* messages = Context().messages;
    switch (result.kind) {
    case EditResult::BadArgument:
        return SetOutcome::BadValue;
    case EditResult::Refused:
        if (messages != nullptr)
            messages->Show(result.caption, result.message, platform::MessageButtons::Ok);
        return SetOutcome::Refused;
    case EditResult::Done:
        break;
    }
    if (!result.notice.empty() && messages != nullptr)
        messages->Show(result.noticeCaption, result.notice, platform::MessageButtons::Ok);
    Refresh();
    return SetOutcome::Done;
}

SetOutcome CSectionPage::Command(const std::vector<std::string>& f) {
    if (f.empty() || !Handles(f[0])) return SetOutcome::BadValue;
    if (!hasModels_ || mixed_) return SetOutcome::Disabled;
    const std::string& what = f[0];
    const std::string op = f.size() > 1 ? f[1] : std::string();
    auto n = f.size();
    if (what == "group") {
        if (op == "add" && n == 5) return Report(editor_.AddGroup(f[2], f[3], f[4]));
        if (op == "add" && n == 4) return Report(editor_.AddGroup(f[2], f[3], ""));
        if (op == "modify" && (n == 6 || n == 5))
            return Report(editor_.ModifyGroup(f[2], f[3], f[4], n == 6 ? f[5] : ""));
        if (op == "remove" && n == 3) return Report(editor_.RemoveGroup(f[2]));
    } else if (what == "label") {
        bool free = n == 5 && f[4] == "free";
        if (op == "add" && (n == 4 || free)) return Report(editor_.AddLabel(f[2], f[3], free));
        bool freeModify = n == 6 && f[5] == "free";
        if (op == "modify" && (n == 5 || freeModify))
            return Report(editor_.ModifyLabel(f[2], f[3], f[4], freeModify));
        if (op == "remove" && n == 4) return Report(editor_.RemoveLabel(f[2], f[3]));
    } else if (what == "section") {
        if (op == "add" && n >= 4)
            return Report(
                editor_.AddSection(f[2], f[3], std::vector<std::string>(f.begin() + 4, f.end())));
    } else if (what == "item") {
        if (op == "remove" && (n == 3 || n == 4)) {
            int position = 0;
            if (n == 4) {
                if (f[3].empty() || f[3].find_first_not_of("0123456789") != std::string::npos)
                    return SetOutcome::BadValue;
                position = std::stoi(f[3]);
            }
            return Report(editor_.RemoveItem(f[2], position));
        }
    } else if (what == "advanced") {
        // advanced <group> <noload> <keep> [<map address kind> [<address>]]
        if (n >= 4 && n <= 6 && (f[2] == "0" || f[2] == "1") && (f[3] == "0" || f[3] == "1")) {
            bool gc = false;
            if (auto linkers = Linkers(); !linkers.empty())
                gc = As<LinkerModel>(linkers.front())->switches_[models::kSwGcSects];
            return Report(editor_.Advanced(op, f[2] == "1", f[3] == "1", gc, n >= 5 ? f[4] : "none",
                                           n == 6 ? f[5] : ""));
        }
    } else if (what == "region") {
        if (op == "add" && n == 5) return Report(editor_.AddRegion(f[2], f[3], f[4]));
        if (op == "modify" && n == 6) return Report(editor_.ModifyRegion(f[2], f[3], f[4], f[5]));
        if (op == "remove" && n == 3) return Report(editor_.RemoveRegion(f[2]));
    } else if (what == "start") {
        if (n == 3) return Report(editor_.SetStart(f[1], f[2]));
    } else if (what == "export") {
        if (n == 2) return Export(f[1]) ? SetOutcome::Done : SetOutcome::Refused;
    }
    return SetOutcome::BadValue;
}

bool CSectionPage::Export(const std::string& path) {
    auto linkers = Linkers();
    if (linkers.empty() || mixed_) return false;
    const LinkerModel& model = *As<LinkerModel>(linkers.front());
    const SharedState* shared = Context().shared;
    sections::ScriptTarget target;
    sections::PlaceholderResolver resolver = KeepPlaceholders;
    if (shared != nullptr && shared->info != nullptr) {
        target.effectiveToolchain = toolchain::EffectiveToolchainName(*shared->info);
        // One set can be resolved for the project the sheet was opened on;
        // several stand for several projects or configurations.
        if (linkers.size() == 1) resolver = sections::ProjectResolver(*shared->info);
    }
    target.cpuType = model.cpu_.cpuType_;
    target.normalMode = model.NormalMode();
    const std::string temporary = path + ".tmp~";
    sections::SectionLayout layout = editor_.Copy();
    sections::ScriptWrite export_ = sections::ExportLayout(temporary, layout, target, resolver);
    DestroyGroups(layout.groups);
    // The export's own messages go to the sheet's window, as every box does.
    UserMessages messages = std::move(export_.messages);
    bool done = export_.ok && platform::ReplaceFile(temporary, path);
    if (!done) platform::DeleteFile(temporary);
    if (export_.ok && !done) messages.push_back(ErrorText("Error writing to sections file"));
    CMessageSink* sink = Context().messages;
    for (const UserMessage& m : messages) {
        if (sink == nullptr)
            ShowUserMessage(m);
        else
            sink->Show(m.kind == MessageKind::Warning ? kCaptionWarning : kCaptionError,
                       UserMessageText(m), platform::MessageButtons::Ok);
    }
    return done;
}

std::vector<std::unique_ptr<CPage>> SectionPages() {
    std::vector<std::unique_ptr<CPage>> pages;
    for (SectionView view :
         {SectionView::Main, SectionView::GroupMap, SectionView::Memory, SectionView::Start})
        pages.push_back(std::make_unique<CSectionPage>(view));
    return pages;
}

} // namespace quorle::sheet
