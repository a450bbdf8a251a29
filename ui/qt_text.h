#pragma once

// The crossing between the system's GBK Text and Qt's UTF-16 QString. Every text that reaches a
// widget passes here once.

#include <QString>

#include "text/text.h"

namespace smsdock {

QString ToQString(const Text& text);
// GBK without composition; a character GBK lacks becomes "?".
Text ToText(const QString& string);

}  // namespace smsdock
