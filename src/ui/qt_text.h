#pragma once
// Conversions between the engine's UTF-8 texts and Qt's strings.
#include <QString>
#include <string>

namespace twinex::ui {

inline QString Q(const std::string& text) { return QString::fromStdString(text); }
inline std::string S(const QString& text) { return text.toStdString(); }

}  // namespace twinex::ui
