#include "ui/message_files.h"

#include <algorithm>
#include <filesystem>

namespace tarnix {
namespace {

namespace fs = std::filesystem;

// The real path, links resolved; empty when the file does not exist.
fs::path realPath(const std::string& path)
{
    std::error_code error;
    fs::path real = fs::canonical(fs::path(path), error);
    return error ? fs::path() : real;
}

bool isInside(const fs::path& file, const fs::path& folder)
{
    const auto [folderEnd, fileAt] = std::mismatch(folder.begin(), folder.end(), file.begin(), file.end());
    return folderEnd == folder.end() && fileAt != file.end();
}

}  // namespace

bool mayDeleteMessageFile(const RecordList& records, std::size_t index, const std::string& messagesFolder)
{
    if (index >= records.size()) return false;
    const fs::path file = realPath(std::string(records[index].fileName.view()));
    const fs::path folder = realPath(messagesFolder);
    if (file.empty() || folder.empty() || file.extension() != ".mp3" || !isInside(file, folder)) return false;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (i != index && realPath(std::string(records[i].fileName.view())) == file) return false;
    }
    return true;
}

}  // namespace tarnix
