#include "platform/qt/qt_text.h"

namespace tolvane::qt {

QString ToQString(std::string_view utf8) {
    QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

std::string FromQString(const QString& text) {
    QString lines = text;
    lines.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return lines.toStdString();
}

}  // namespace tolvane::qt
