#pragma once
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/forms.h"
#include "ui/window_description.h"

namespace tolvane::fakes {

// A Forms that writes what the handlers do into a journal, shared with FakeSystem so that
// tests see the order across both seams, and answers boxes and the popup menu as told.
class FakeForms : public Forms {
  public:
    explicit FakeForms(std::vector<std::string>& journal) : journal_(journal) {}

    std::map<Control, std::string> texts;       // as shown now
    std::size_t lineWidth = std::string::npos;  // the bytes that fit on one line
    int answer = msgbox::kNo;                   // to every box
    MenuItem menuChoice = MenuItem::None;
    std::function<void()> whileBoxOpen;  // what happens before a box is answered

    void SetText(Control control, const std::string& text) override {
        texts[control] = text;
        journal_.push_back(std::string(ui::Describe(control).name) + " = " + text);
    }
    std::string Text(Control control) override { return texts[control]; }
    bool FitsOnOneLine(Control, const std::string& line) override {
        return line.size() <= lineWidth;
    }
    void SetToolTip(Control control, const std::string& text) override {
        journal_.push_back(std::string(ui::Describe(control).name) + " tip = " + text);
    }
    void SetForeColor(Control control, OleColor color) override {
        const char* shade = color == kColorButtonHighlight ? " lit"
                            : color == kColorButtonText    ? " unlit"
                                                           : " other colour";
        journal_.push_back(std::string(ui::Describe(control).name) + shade);
    }
    int MsgBox(const std::string& prompt, int style, const std::string& title) override {
        journal_.push_back("box " + title + " (" + std::to_string(style) + ") " + prompt);
        if (whileBoxOpen) whileBoxOpen();
        return answer;
    }
    MenuItem PopupAboutMenu(PopupPlace place) override {
        journal_.push_back(place == PopupPlace::AtPointer ? "popup at pointer" : "popup at focus");
        return menuChoice;
    }
    void SetWaiting(bool on) override { journal_.push_back(on ? "waiting" : "not waiting"); }

  private:
    std::vector<std::string>& journal_;
};

}  // namespace tolvane::fakes
