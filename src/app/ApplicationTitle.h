#pragma once

#include <QString>

inline const QString kApplicationTitle = QStringLiteral("Vexlo");
