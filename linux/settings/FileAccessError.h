#pragma once

#include "core/runtime/RuntimeError.h"

#include <QString>

namespace korval {

// The file-access run-time error for a settings file, its detail in Qt's text.
inline RuntimeError fileAccessError(const QString& detail)
{
    return RuntimeError::fileAccess(detail.toStdString());
}

} // namespace korval
