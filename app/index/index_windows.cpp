// The application's index windows: Load Index, the list of open index windows, and auto-search
// as the games move.
#include <algorithm>
#include <filesystem>

#include "app/index/index1_dialog.h"
#include "app/index/index1_frame.h"
#include "app/index/index_file_dialog.h"
#include "app/main_frame.h"
#include "app/tandemora_app.h"

namespace tandemora {

void CTandemoraApp::loadIndex() {
    const std::optional<std::string> path = askIndexFile(mainFrame_.get());
    if (!path) return;
    auto* window = new CIndex1Frame(*this, mainFrame_->mdiArea());
    addToIndexList(window);
    window->loadIndexFile(*path);
}

void CTandemoraApp::addToIndexList(CIndex1Frame* window) {
    indexList_.push_back(window);
    if (settings_.autoApplyDefaultLayout) applyLayout(0);
}

void CTandemoraApp::removePtrFromIndexList(CIndex1Frame* window) {
    const auto found = std::find(indexList_.begin(), indexList_.end(), window);
    if (found == indexList_.end()) {
        showMessage("Error in CTandemoraApp::removePtrFromIndexList()");
        return;
    }
    indexList_.erase(found);
}

void CTandemoraApp::notifyIndexWindows() {
    const std::vector<CIndex1Frame*> windows = indexList_;
    for (CIndex1Frame* window : windows) window->sheet().autoSearch();
}

std::string CTandemoraApp::databaseDirectory() const {
    const std::string& setting = settings_.databaseDirectory;
    const size_t first = setting.find_first_not_of(' ');
    std::filesystem::path folder = first == std::string::npos ? std::string() : setting.substr(first);
    if (folder.is_relative()) folder = files_.settingsFile.parent_path() / folder;
    return folder.lexically_normal().string();
}

}  // namespace tandemora
