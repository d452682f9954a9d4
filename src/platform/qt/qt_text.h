#pragma once
#include <QString>
#include <string>
#include <string_view>

namespace tolvane::qt {

// Our UTF-8 text as Qt shows it: CR LF between lines becomes Qt's "\n".
QString ToQString(std::string_view utf8);
// And back: UTF-8 with CR LF between lines.
std::string FromQString(const QString& text);

}  // namespace tolvane::qt
