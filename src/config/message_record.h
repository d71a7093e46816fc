#pragma once

#include <vector>

#include "config/utf8_string.h"

namespace tarnix {

// One recorded voice message. The texts are stored as UTF-8 exactly as the answering machine
// made them; their forms belong to the message list.
struct MessageRecord {
    // The position at which a record read from config.xml was appended; -1 for a record made by
    // the answering machine. Not written to the file.
    int index = -1;
    Utf8String fileName;
    Utf8String userName;
    Utf8String nickName;
    Utf8String ringTime;
    Utf8String answerTime;
    Utf8String duration;
    // True while the message has not been played.
    bool newFlag = true;
};

// In file order; new records are appended at the end.
using RecordList = std::vector<MessageRecord>;

}  // namespace tarnix
