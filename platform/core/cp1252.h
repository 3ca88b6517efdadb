#pragma once
#include <QString>
#include <string>

namespace platform {

// Device lines and stored files are Windows-1252 bytes; QString lives only at the widget edge.
QString FromCp1252(const std::string& bytes);
// Characters that Windows-1252 cannot hold become '?'.
std::string ToCp1252(const QString& text);

}  // namespace platform
