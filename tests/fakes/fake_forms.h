#pragma once
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/forms.h"

namespace tolvane::fakes {

struct ShownBox {
    std::string prompt;
    int style;
    std::string title;
    bool operator==(const ShownBox&) const = default;
};

// A Forms that remembers what the handlers set and answers boxes and menus as told.
class FakeForms : public Forms {
  public:
    explicit FakeForms(std::vector<std::string>* journal = nullptr) : journal_(journal) {}

    std::map<Control, std::string> texts;
    std::map<Control, std::string> toolTips;
    // A line fits when it has at most this many bytes; the default fits all.
    std::size_t lineWidth = std::string::npos;
    std::vector<ShownBox> boxes;
    std::vector<std::pair<Control, OleColor>> colorWrites;  // every write, repeats included
    int textWrites = 0;
    std::vector<PopupPlace> popupPlaces;

    // The answers the test gives: to each box in turn, and to the popup menu.
    std::function<int(const ShownBox&)> answer = [](const ShownBox&) { return msgbox::kNo; };
    MenuItem menuChoice = MenuItem::None;

    void SetText(Control control, const std::string& text) override {
        ++textWrites;
        texts[control] = text;
    }
    std::string Text(Control control) override { return texts[control]; }
    bool FitsOnOneLine(Control, const std::string& line) override {
        return line.size() <= lineWidth;
    }
    void SetToolTip(Control control, const std::string& text) override { toolTips[control] = text; }
    void SetForeColor(Control control, OleColor color) override {
        colorWrites.emplace_back(control, color);
    }
    int MsgBox(const std::string& prompt, int style, const std::string& title) override {
        boxes.push_back({prompt, style, title});
        if (journal_) journal_->push_back("box " + title);
        return answer(boxes.back());
    }
    MenuItem PopupAboutMenu(PopupPlace place) override {
        popupPlaces.push_back(place);
        return menuChoice;
    }
    void SetWaiting(bool on) override {
        if (journal_) journal_->push_back(on ? "waiting" : "not waiting");
    }

  private:
    std::vector<std::string>* journal_;
};

}  // namespace tolvane::fakes
