// The command line of a freedesktop application entry (.desktop file).
#pragma once

#include <QString>

namespace orvex {

// The path of the entry with this desktop file id in the applications folders, or empty.
QString findDesktopEntry(const QString& desktopId);
// The Exec command of the entry at path, without field codes (%f, %U ...), or empty when the
// entry cannot be read, has no command or is hidden.
QString desktopEntryCommand(const QString& path);
// An Exec value with its field codes removed ("%%" stays a literal "%"); arguments that held
// only a field code are dropped.
QString stripFieldCodes(const QString& exec);

}  // namespace orvex
