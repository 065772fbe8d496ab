// The in-memory dialog template is read back word by word the way
// DialogBoxIndirect reads it, so that a misplaced field, a missing
// terminator or an unaligned item shows up here rather than as a dialog that
// does not open.
#include <gtest/gtest.h>

#include "platform/win32/dialog_template.h"

using namespace quorle::platform::win32;

namespace {

struct ReadItem {
    size_t offset = 0; // in words from the start
    uint32_t style = 0, exStyle = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    uint16_t id = 0, classAtom = 0, creationData = 0;
    std::u16string text;
};

struct ReadTemplate {
    uint32_t style = 0, exStyle = 0;
    uint16_t count = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    uint16_t menu = 0, windowClass = 0;
    std::u16string caption;
    uint16_t pointSize = 0;
    std::u16string font;
    std::vector<ReadItem> items;
    size_t size = 0; // words consumed
};

class Reader {
  public:
    explicit Reader(const std::vector<uint16_t>& words) : words_(words) {}
    uint16_t Word() {
        if (pos_ >= words_.size()) {
            ADD_FAILURE() << "template ends early at word " << pos_;
            return 0;
        }
        return words_[pos_++];
    }
    uint32_t Dword() {
        uint32_t low = Word();
        return low | (uint32_t{Word()} << 16);
    }
    int16_t Short() { return static_cast<int16_t>(Word()); }
    std::u16string Text() {
        std::u16string text;
        for (uint16_t c = Word(); c != 0 && pos_ < words_.size(); c = Word())
            text += static_cast<char16_t>(c);
        return text;
    }
    void Align() {
        if (pos_ % 2 != 0) {
            EXPECT_EQ(Word(), 0) << "padding must be zero";
        }
    }
    size_t Position() const { return pos_; }

  private:
    const std::vector<uint16_t>& words_;
    size_t pos_ = 0;
};

ReadTemplate Read(const std::vector<uint16_t>& words) {
    Reader in(words);
    ReadTemplate t;
    t.style = in.Dword();
    t.exStyle = in.Dword();
    t.count = in.Word();
    t.x = in.Short();
    t.y = in.Short();
    t.cx = in.Short();
    t.cy = in.Short();
    t.menu = in.Word();
    t.windowClass = in.Word();
    t.caption = in.Text();
    if ((t.style & kDsSetFont) != 0) {
        t.pointSize = in.Word();
        t.font = in.Text();
    }
    for (uint16_t i = 0; i < t.count; ++i) {
        in.Align();
        ReadItem item;
        item.offset = in.Position();
        item.style = in.Dword();
        item.exStyle = in.Dword();
        item.x = in.Short();
        item.y = in.Short();
        item.cx = in.Short();
        item.cy = in.Short();
        item.id = in.Word();
        EXPECT_EQ(in.Word(), 0xFFFF) << "class by atom";
        item.classAtom = in.Word();
        item.text = in.Text();
        item.creationData = in.Word();
        t.items.push_back(item);
    }
    t.size = in.Position();
    return t;
}

const ReadItem* FindItem(const ReadTemplate& t, uint16_t id) {
    for (const ReadItem& item : t.items)
        if (item.id == id) return &item;
    return nullptr;
}

bool Overlap(const ReadItem& a, const ReadItem& b) {
    return a.x < b.x + b.cx && b.x < a.x + a.cx && a.y < b.y + b.cy && b.y < a.y + a.cy;
}

} // namespace

TEST(DialogTemplate, FeedbackRequestHoldsTextBoxAndTwoButtons) {
    const std::u16string text = u"You have now linked 30 times.\r\nWould you?";
    ReadTemplate t = Read(BuildDialogTemplate(FeedbackDialogLayout(u"Request for Feedback", text)));
    EXPECT_EQ(t.caption, u"Request for Feedback");
    for (uint32_t bit : {kWsPopup, kWsCaption, kWsSysMenu, kDsModalFrame, kDsSetFont})
        EXPECT_NE(t.style & bit, 0u) << std::hex << bit;
    EXPECT_EQ(t.style & kWsVisible, 0u) << "shown by the dialog manager, not at creation";
    EXPECT_EQ(t.exStyle, 0u);
    EXPECT_EQ(t.menu, 0);
    EXPECT_EQ(t.windowClass, 0);
    EXPECT_EQ(t.font, u"MS Shell Dlg");
    EXPECT_EQ(t.pointSize, 8);
    ASSERT_EQ(t.count, 4);
    ASSERT_EQ(t.items.size(), 4u);

    const ReadItem* request = FindItem(t, kFeedbackTextId);
    const ReadItem* noAsk = FindItem(t, kFeedbackNoAskId);
    const ReadItem* provide = FindItem(t, kFeedbackProvideId);
    const ReadItem* noThanks = FindItem(t, kFeedbackNoThanksId);
    ASSERT_TRUE(request && noAsk && provide && noThanks);
    EXPECT_EQ(request->classAtom, kStaticClass);
    EXPECT_EQ(request->text, text);
    EXPECT_EQ(noAsk->classAtom, kButtonClass);
    EXPECT_EQ(noAsk->text, u"Please don't ask me again");
    EXPECT_EQ(noAsk->style & 0xF, kBsAutoCheckBox);
    EXPECT_EQ(provide->classAtom, kButtonClass);
    EXPECT_EQ(provide->text, u"Provide feedback");
    EXPECT_EQ(provide->style & 0xF, kBsDefPushButton) << "Enter provides feedback";
    EXPECT_EQ(noThanks->classAtom, kButtonClass);
    EXPECT_EQ(noThanks->text, u"No thanks");
    EXPECT_EQ(noThanks->style & 0xF, kBsPushButton);
    EXPECT_EQ(provide->id, 1) << "IDOK";
    EXPECT_EQ(noThanks->id, 2) << "IDCANCEL: Escape and the close box mean no thanks";

    for (size_t i = 0; i < t.items.size(); ++i) {
        const ReadItem& item = t.items[i];
        EXPECT_EQ(item.offset % 2, 0u) << "item " << i << " not on a DWORD boundary";
        EXPECT_EQ(item.style & (kWsChild | kWsVisible), kWsChild | kWsVisible) << i;
        EXPECT_EQ(item.exStyle, 0u) << i;
        EXPECT_EQ(item.creationData, 0) << i;
        EXPECT_GE(item.x, 0) << i;
        EXPECT_GE(item.y, 0) << i;
        EXPECT_GT(item.cx, 0) << i;
        EXPECT_GT(item.cy, 0) << i;
        EXPECT_LE(item.x + item.cx, t.cx) << "item " << i << " leaves the dialog";
        EXPECT_LE(item.y + item.cy, t.cy) << "item " << i << " leaves the dialog";
        for (size_t j = i + 1; j < t.items.size(); ++j)
            EXPECT_FALSE(Overlap(item, t.items[j])) << "items " << i << " and " << j;
    }
    EXPECT_NE(noAsk->style & kWsTabStop, 0u);
    EXPECT_NE(provide->style & kWsTabStop, 0u);
    EXPECT_NE(noThanks->style & kWsTabStop, 0u);
}

TEST(DialogTemplate, LayoutIsWrittenWordForWord) {
    DialogLayout layout;
    layout.style = kWsPopup | kDsSetFont; // no font: the flag must go
    layout.x = -3;
    layout.y = 4;
    layout.cx = 50;
    layout.cy = 20;
    layout.caption = u"Odd"; // 3 + terminator leaves the first item to be aligned
    layout.items = {
        {kWsChild, 1, 2, 30, 8, 7, kStaticClass, u"ab"},
        {kWsChild | kBsAutoCheckBox, 1, 11, 30, 8, 8, kButtonClass, std::u16string(u"c\0d", 3)}};
    std::vector<uint16_t> words = BuildDialogTemplate(layout);
    // Header: style (2), extended style (2), count, x, y, cx, cy, menu, class,
    // "Odd" and its zero.
    const std::vector<uint16_t> header = {0x0000, 0x8000, 0, 0,    2,    0xFFFD, 4, 50,
                                          20,     0,      0, u'O', u'd', u'd',   0};
    ASSERT_GE(words.size(), header.size());
    EXPECT_EQ(std::vector<uint16_t>(words.begin(), words.begin() + header.size()), header);

    ReadTemplate t = Read(words);
    EXPECT_EQ(t.size, words.size()) << "nothing follows the last item";
    EXPECT_EQ(t.style & kDsSetFont, 0u);
    EXPECT_TRUE(t.font.empty());
    ASSERT_EQ(t.items.size(), 2u);
    EXPECT_EQ(t.items[0].offset, header.size() + 1) << "one padding word";
    EXPECT_EQ(t.items[0].text, u"ab");
    EXPECT_EQ(t.items[0].id, 7);
    EXPECT_EQ(t.items[0].x, 1);
    EXPECT_EQ(t.items[0].cy, 8);
    // An embedded zero would end the text in the reader anyway; it must not
    // shift the fields that follow.
    EXPECT_EQ(t.items[1].text, u"c");
    EXPECT_EQ(t.items[1].classAtom, kButtonClass);
    EXPECT_EQ(t.items[1].style, kWsChild | kBsAutoCheckBox);
    EXPECT_EQ(t.items[1].id, 8);
}
