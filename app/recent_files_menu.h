// The recent files at the bottom of the File menu, in a section of their own above Exit.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QMenu;

namespace tandemora {

// Each time `menu` opens, the files `files` gives are listed just before `exit`, numbered, by
// their names, with the full name as status tip; choosing one calls `open` with its place.
void attachRecentFiles(QMenu& menu, QAction& exit, std::function<const std::vector<std::string>&()> files,
                       std::function<void(std::size_t index)> open);

}  // namespace tandemora
