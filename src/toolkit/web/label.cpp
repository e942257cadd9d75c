#include "toolkit/label.h"
#include "native.h"

#include <memory>
#include <string>
#include <vector>

namespace tk {

NativeView* NewView(const char* tag, const char* className, const Container& parent);

namespace {

// Between a frame's outer glyph and the control it stands by.
constexpr int kFrameGap = 2;

std::vector<std::string> Words(const std::string& text)
{
    // Blanks are the ASCII space and the ideographic space (U+3000).
    static const std::string kIdeographicSpace = "\xE3\x80\x80";
    std::vector<std::string> words;
    std::string word;
    for (std::size_t i = 0; i < text.size();) {
        const bool ascii = text[i] == ' ';
        const bool wide = text.compare(i, kIdeographicSpace.size(), kIdeographicSpace) == 0;
        if (ascii || wide) {
            if (!word.empty())
                words.push_back(std::move(word));
            word.clear();
            i += ascii ? 1 : kIdeographicSpace.size();
        } else {
            word += text[i++];
        }
    }
    if (!word.empty())
        words.push_back(std::move(word));
    return words;
}

const char* JustifyOf(Alignment alignment)
{
    switch (alignment) {
    case Alignment::Center: return "center";
    case Alignment::Right: return "flex-end";
    default: return "flex-start";
    }
}

} // namespace

// The label's text: one run, or the words of a frame around controls.
class LabelWidget {
public:
    explicit LabelWidget(const val& element) : box(element), text(MakeElement("span", "", element)) {}
    val box;
    val text;
};

Label::Label(Container& parent, const std::string& caption) : Control(NewView("div", "tk-label", parent))
{
    auto parts = std::make_shared<LabelWidget>(ElementOf(NativeWidget()));
    text_ = parts.get();
    NativeWidget()->parts = std::move(parts);
    SetCaption(caption);
}

void Label::SetCaption(const std::string& caption)
{
    caption_ = caption;
    text_->text.set("textContent", caption);
}

void Label::SetAlignment(Alignment alignment) { text_->box["style"].set("justifyContent", std::string(JustifyOf(alignment))); }

void Label::SetColor(TColor color) { text_->box["style"].set("backgroundColor", CssColor(color)); }

void Label::FrameAround(std::initializer_list<const Control*> controls)
{
    if (controls.size() == 0)
        return;
    // The words stand beside the controls in the label's own coordinates:
    // the first ends just before the first control, the last starts just
    // after the last one, the others are centred in the gaps between.
    const std::vector<std::string> words = Words(caption_);
    val box = text_->box;
    box.set("textContent", std::string());
    box.set("ariaLabel", caption_);
    box["classList"].call<void>("add", std::string("tk-frame"));
    const std::vector<const Control*> list(controls);
    const auto place = [&](const std::string& word, int left, int width, const char* align) {
        val span = MakeElement("span", "tk-frame-word", box);
        span.set("textContent", word);
        span.call<void>("setAttribute", std::string("aria-hidden"), std::string("true"));
        val style = span["style"];
        style.set("left", std::to_string(left - Left()) + "px");
        style.set("width", std::to_string(width) + "px");
        style.set("textAlign", std::string(align));
        style.set("lineHeight", std::to_string(Height()) + "px");
    };
    constexpr int kRoom = 200;  // wider than any word, so that nothing wraps
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (i == 0) {
            place(words[i], list.front()->Left() - kFrameGap - kRoom, kRoom, "right");
        } else if (i + 1 == words.size() || i >= list.size()) {
            const Control* last = list.back();
            place(words[i], last->Left() + last->Width() + kFrameGap, kRoom, "left");
        } else {
            const Control* before = list[i - 1];
            const Control* after = list[i];
            const int from = before->Left() + before->Width();
            place(words[i], from - kRoom, after->Left() - from + 2 * kRoom, "center");
        }
    }
}

void Label::BoundsChanged() {}
void Label::FontChanged() {}

StaticText::StaticText(Container& parent, const std::string& caption) : Control(NewView("div", "tk-static", parent))
{
    auto parts = std::make_shared<LabelWidget>(ElementOf(NativeWidget()));
    text_ = parts.get();
    NativeWidget()->parts = std::move(parts);
    text_->text.set("textContent", caption);
}

std::string StaticText::Caption() const { return text_->text["textContent"].as<std::string>(); }

void StaticText::BoundsChanged() {}
void StaticText::FontChanged() {}

} // namespace tk
