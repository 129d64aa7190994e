#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace quorvane::qt {

// The core keeps its texts as UTF-16, as QString does; these copy them across
// the edge unchanged, unpaired surrogates included.
inline QString ToQString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

inline std::u16string FromQString(const QString& text) {
    return text.toStdU16String();
}

}  // namespace quorvane::qt
