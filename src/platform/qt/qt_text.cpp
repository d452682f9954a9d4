#include "platform/qt/qt_text.h"

namespace tolvane::qt {

QString ToQString(std::string_view utf8) {
    QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

}  // namespace tolvane::qt
