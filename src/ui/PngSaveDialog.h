#pragma once

#include <QString>
#include <filesystem>

class QWidget;

namespace cotalys {

// The save dialog of a PNG picture over AParent: it opens in AProposed's folder with AProposed's
// name proposed, and adds ".png" to a name without it. The file chosen, or empty when the user
// cancels.
QString AskPngFileName(QWidget* AParent, const std::filesystem::path& AProposed);

}  // namespace cotalys
