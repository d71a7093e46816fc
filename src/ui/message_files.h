#pragma once

#include "config/message_record.h"

#include <string>

namespace tarnix {

// Whether deleting the record at `index` may also remove its file from disk: the file's real
// path lies inside the messages folder, ends in ".mp3", and no other record names the same
// file. Anything else (a record naming a file elsewhere, a link out of the folder, a shared
// file) keeps the file.
bool mayDeleteMessageFile(const RecordList& records, std::size_t index, const std::string& messagesFolder);

}  // namespace tarnix
