// Writes the window description as JSON for the scripts that drive the finished program:
//   describe_window OUT.json
// Rects are in twips, relative to the client area (a control's container already added).
// Names and the caption are plain identifiers, so nothing needs escaping.
#include <fstream>
#include <iostream>

#include "ui/window_description.h"

int main(int argc, char** argv) {
    using namespace tolvane::ui;
    if (argc != 2) {
        std::cerr << "usage: describe_window OUT.json\n";
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary);
    out << "{\n  \"caption\": \"" << kWindowCaption << "\",\n  \"client\": [" << kClientWidthTwips
        << ", " << kClientHeightTwips << "],\n  \"controls\": {";
    const char* separator = "\n";
    for (const auto& control : kControls) {
        TwipsRect rect = control.rect;
        if (control.container != tolvane::Control::frmMain) {
            rect.left += Describe(control.container).rect.left;
            rect.top += Describe(control.container).rect.top;
        }
        out << separator << "    \"" << control.name << "\": [" << rect.left << ", " << rect.top
            << ", " << rect.width << ", " << rect.height << "]";
        separator = ",\n";
    }
    out << "\n  }\n}\n";
    out.close();
    return out ? 0 : 1;
}
