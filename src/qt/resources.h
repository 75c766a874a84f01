// The pictures built into the program.
#pragma once

#include <QIcon>
#include <QImage>

namespace orvex {

// Registers the built-in pictures; the library is static, so nothing does it by itself.
void initResources();
// A built-in picture by file name ("start.png"); a null image when there is none.
QImage builtInImage(const char* name);
QIcon programIcon();

}  // namespace orvex
