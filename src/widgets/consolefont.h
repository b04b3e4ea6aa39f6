#pragma once

#include <QFont>

// The console's typeface at a given size. It was laid out for MS Sans Serif; where that is
// missing, the next family with Cyrillic glyphs keeps the captions readable.
QFont consoleFont(qreal pointSize, bool bold = false);
