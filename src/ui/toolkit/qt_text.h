#pragma once
// The one place where core text (UTF-8 std::string) and Qt text (QString) meet.

#include <QString>
#include <string>
#include <string_view>

inline QString toQt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string fromQt(const QString& text) {
    return text.toUtf8().toStdString();
}
