// The file dialog that chooses a main index, for Load Index and for an index window's
// "Add index...".
#pragma once

#include <optional>
#include <string>

class QWidget;

namespace tandemora {

// The index file chosen, as the file system spells it; none when the dialog was cancelled. The
// dialog opens in `folder` when one is given.
std::optional<std::string> askIndexFile(QWidget* parent, const std::string& folder = {});

}  // namespace tandemora
