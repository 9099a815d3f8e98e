#pragma once
// A launcher for the program on the operator's desktop.

#include <string>

namespace ferolin::os {

struct ShortcutResult {
  bool ok = false;
  std::string path;   // the launcher file written (or attempted)
  std::string error;  // why it failed; empty on success
};

// The desktop folder: XDG_DESKTOP_DIR as xdg-user-dir reports it when that
// tool exists, otherwise $HOME/Desktop.
std::string DesktopFolder();

// Writes "<name>.desktop" (Type=Application, Name, Exec, Icon) into the desktop
// folder, creating the folder when missing and replacing an existing launcher,
// and makes it executable. Failures are returned, never thrown.
ShortcutResult CreateDesktopShortcut(const std::string& name, const std::string& target,
                                     const std::string& icon);

}  // namespace ferolin::os
